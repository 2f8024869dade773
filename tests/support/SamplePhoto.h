#pragma once
// The sample photograph (.cache/sample/elephants.jpg, which scripts/setup
// fetches) for tests that compare results on a real picture.

#include "engine/pixel/Image.h"

#include <optional>

namespace zephrin::testing {

// The centre `size` of the photograph, opaque; nothing where the photograph is
// missing or smaller, or the suite was built without ZEPHRIN_SOURCE_DIR.
std::optional<Image> samplePhotoCentre(cv::Size size);

} // namespace zephrin::testing
