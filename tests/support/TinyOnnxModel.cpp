#include "support/TinyOnnxModel.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace zephrin::testing {

namespace {

// The protocol buffer wire format: each field is its number and wire type,
// then a varint or a length and that many bytes.
class Message {
public:
    Message& integer(int field, std::int64_t value)
    {
        key(field, 0);
        varint(std::uint64_t(value));
        return *this;
    }
    Message& bytes(int field, const QByteArray& value)
    {
        key(field, 2);
        varint(std::uint64_t(value.size()));
        m_bytes += value;
        return *this;
    }
    Message& text(int field, const char* value) { return bytes(field, QByteArray(value)); }
    Message& message(int field, const Message& value) { return bytes(field, value.m_bytes); }
    const QByteArray& data() const { return m_bytes; }

private:
    void key(int field, int wireType) { varint(std::uint64_t(field) << 3 | std::uint64_t(wireType)); }
    void varint(std::uint64_t value)
    {
        do {
            const auto low = char(value & 0x7F);
            value >>= 7;
            m_bytes += value ? char(low | 0x80) : low;
        } while (value);
    }
    QByteArray m_bytes;
};

constexpr int kFloat = 1;  // TensorProto.DataType FLOAT

// ValueInfoProto: a float tensor of the shape.
Message tensorInfo(const char* name, std::initializer_list<std::int64_t> shape)
{
    Message dims;
    for (const std::int64_t size : shape)
        dims.message(1, Message().integer(1, size));
    const Message tensor = Message().integer(1, kFloat).message(2, dims);
    return Message().text(1, name).message(2, Message().message(1, tensor));
}

// NodeProto with one input and one output.
Message node(const char* op, const char* input, const char* output)
{
    return Message().text(1, input).text(2, output).text(3, output).text(4, op);
}

QByteArray model(const std::vector<std::pair<const char*, const char*>>& outputs)
{
    // mean = ReduceMean(input_image, axes = [1]), its dimensions kept.
    const Message axes = Message().text(1, "axes").integer(8, 1).integer(20, 7);  // INTS
    Message mean = Message().text(1, "input_image").text(2, "mean").text(3, "mean").text(4, "ReduceMean");
    mean.message(5, axes);
    Message graph;
    graph.message(1, mean);
    for (const auto& [name, op] : outputs)
        graph.message(1, node(op, "mean", name));
    graph.text(2, "tiny");
    graph.message(11, tensorInfo("input_image", {1, 3, 1024, 1024}));
    for (const auto& [name, op] : outputs)
        graph.message(12, tensorInfo(name, {1, 1, 1024, 1024}));
    return Message()
        .integer(1, 8)                                     // ir_version
        .text(2, "zephrin-tests")                          // producer_name
        .message(7, graph)
        .message(8, Message().text(1, "").integer(2, 13))  // opset_import: ai.onnx 13
        .data();
}

} // namespace

QByteArray twoOutputModel() { return model({{"mean_image", "Identity"}, {"output_image", "Neg"}}); }

QByteArray modelWithoutOutputImage() { return model({{"mask", "Neg"}}); }

} // namespace zephrin::testing
