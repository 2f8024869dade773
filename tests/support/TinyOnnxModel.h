#pragma once
// Small ONNX models written byte by byte, standing in for the IS-Net network in
// tests of how the runner treats a model's outputs. Each takes the network's
// input "input_image" (1 × 3 × 1024 × 1024 floats) and gives 1 × 1 × 1024 ×
// 1024 maps built from the mean of its three planes.

#include <QByteArray>

namespace zephrin::testing {

// Two outputs: first "mean_image", the plane mean itself (bright where the
// picture is bright), then "output_image", its negation (bright where the
// picture is dark). A runner that reads the right output finds a dark subject
// on a light page; one that reads the first finds the page.
QByteArray twoOutputModel();

// One output, "mask", the negated mean: no "output_image" at all.
QByteArray modelWithoutOutputImage();

} // namespace zephrin::testing
