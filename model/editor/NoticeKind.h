#pragma once
// Whether a notice tells of work that succeeded or of a failure: the notice
// carries the matching mark.

namespace zephrin {

enum class NoticeKind { success, failure };

} // namespace zephrin
