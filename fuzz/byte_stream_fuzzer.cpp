// CMAPIByteStream, the cursor the library reads and writes binary property values with (recurrence and time-zone
// blobs), over random bytes with a random sequence of reads, skips and writes. Every call is checked against a
// model of the stream: a read or write that fits moves the cursor and copies exactly those bytes, one that does
// not fit changes nothing, a skip past the end stops at the end, and nothing is touched outside the buffer.
//
// Input (FuzzedDataProvider): the value's bytes and whether the stream adopts them as a MAPI value, then the
// operations.
#include "FuzzSupport.h"

#include <mapipim/MAPIByteStream.h>

#include <algorithm>
#include <vector>

namespace
{
// The stream with its cursor in view.
class ObservedStream : public CMAPIByteStream
{
public:
    size_t Position() const { return m_pCursor ? static_cast<size_t>(m_pCursor - m_pStart) : 0; }
};

// What the stream should hold: the bytes, the cursor and the length written.
struct Model
{
    std::vector<BYTE> bytes;
    size_t position = 0;
    ULONG written = 0;

    bool Fits(uint64_t cb) const { return cb <= bytes.size() - position; }
};

enum class Operation
{
    ReadByte,
    ReadWord,
    ReadDWord,
    ReadBytes,
    ReadString,
    Skip,
    WriteByte,
    WriteWord,
    WriteDWord,
    WriteBytes,
    WriteString,
    kMaxValue = WriteString
};

// A count for the variable-size calls: mostly small, sometimes near the limits, where a sum could overflow.
ULONG Count(FuzzedDataProvider& input)
{
    return input.ConsumeBool() ? input.ConsumeIntegralInRange<ULONG>(0, 64) : input.ConsumeIntegral<ULONG>();
}

void Read(ObservedStream& stream, Model& model, Operation operation, ULONG cb)
{
    std::vector<BYTE> target(std::max<size_t>(std::min<ULONG>(cb, 4096), 4), 0xA5);
    if (cb > target.size())
        return; // a destination is the caller's to size
    const std::vector<BYTE> untouched = target;
    if (operation == Operation::ReadByte)
        stream.ReadByte(target.data());
    else if (operation == Operation::ReadWord)
        stream.ReadWord(reinterpret_cast<WORD*>(target.data()));
    else if (operation == Operation::ReadDWord)
        stream.ReadDWord(reinterpret_cast<DWORD*>(target.data()));
    else
        stream.ReadBytes(cb, target.data());
    if (!model.Fits(cb))
        return FUZZ_CHECK(target == untouched);
    FUZZ_CHECK(std::equal(target.begin(), target.begin() + cb, model.bytes.begin() + model.position));
    model.position += cb;
}

void ReadString(ObservedStream& stream, Model& model, ULONG nChars)
{
    LPWSTR text = nullptr;
    stream.ReadString(nChars, &text);
    const uint64_t cb = uint64_t(nChars) * sizeof(WCHAR);
    if (nChars == 0 || !model.Fits(cb))
        return FUZZ_CHECK(text == nullptr);
    FUZZ_CHECK(text != nullptr);
    FUZZ_CHECK(std::memcmp(text, model.bytes.data() + model.position, cb) == 0 && text[nChars] == 0);
    delete[] text;
    model.position += cb;
}

void Skip(ObservedStream& stream, Model& model, ULONG cb)
{
    stream.Skip(cb);
    model.position = model.Fits(cb) ? model.position + cb : model.bytes.size();
}

// What a write does to the model: the bytes land at the cursor when they fit, else nothing changes.
void RecordWrite(Model& model, const std::vector<BYTE>& value)
{
    if (value.empty() || !model.Fits(value.size()))
        return;
    std::copy(value.begin(), value.end(), model.bytes.begin() + model.position);
    model.position += value.size();
    model.written += static_cast<ULONG>(value.size());
}

void Write(ObservedStream& stream, Model& model, Operation operation, const std::vector<BYTE>& value)
{
    if (operation == Operation::WriteByte)
        stream.WriteByte(value[0]);
    else if (operation == Operation::WriteWord)
        stream.WriteWord(static_cast<WORD>(value[0] | value[1] << 8));
    else if (operation == Operation::WriteDWord)
        stream.WriteDWord(static_cast<DWORD>(value[0] | value[1] << 8 | value[2] << 16 | uint32_t(value[3]) << 24));
    else
        stream.WriteBytes(static_cast<ULONG>(value.size()), value.data());
    RecordWrite(model, value);
}

void WriteString(ObservedStream& stream, Model& model, const std::u16string& text)
{
    stream.WriteString(text.c_str());
    const auto* bytes = reinterpret_cast<const BYTE*>(text.data());
    RecordWrite(model, std::vector<BYTE>(bytes, bytes + text.size() * sizeof(WCHAR)));
}

// Bytes for a fixed-size write, zero-padded when the input runs out.
std::vector<BYTE> FixedValue(FuzzedDataProvider& input, size_t size)
{
    std::vector<BYTE> value = input.ConsumeBytes<BYTE>(size);
    value.resize(size);
    return value;
}

void Apply(FuzzedDataProvider& input, ObservedStream& stream, Model& model)
{
    switch (const Operation operation = input.ConsumeEnum<Operation>())
    {
    case Operation::ReadByte:
        return Read(stream, model, operation, 1);
    case Operation::ReadWord:
        return Read(stream, model, operation, 2);
    case Operation::ReadDWord:
        return Read(stream, model, operation, 4);
    case Operation::ReadBytes:
        return Read(stream, model, operation, Count(input));
    case Operation::ReadString:
        return ReadString(stream, model, Count(input));
    case Operation::Skip:
        return Skip(stream, model, Count(input));
    case Operation::WriteByte:
        return Write(stream, model, operation, FixedValue(input, 1));
    case Operation::WriteWord:
        return Write(stream, model, operation, FixedValue(input, 2));
    case Operation::WriteDWord:
        return Write(stream, model, operation, FixedValue(input, 4));
    case Operation::WriteBytes:
        return Write(stream, model, operation, input.ConsumeBytes<BYTE>(input.ConsumeIntegralInRange(0, 64)));
    case Operation::WriteString:
        return WriteString(stream, model, fuzz::TakeText(input, 32));
    }
}

// The value as MAPI hands it out: an SPropValue and its bytes in one MAPI buffer.
LPSPropValue MakeValue(const std::vector<BYTE>& bytes)
{
    LPSPropValue value = nullptr;
    FUZZ_CHECK(MAPIAllocateBuffer(sizeof(SPropValue), reinterpret_cast<LPVOID*>(&value)) == S_OK);
    value->ulPropTag = PR_ENTRYID;
    value->Value.bin.cb = static_cast<ULONG>(bytes.size());
    FUZZ_CHECK(MAPIAllocateMore(value->Value.bin.cb, value, reinterpret_cast<LPVOID*>(&value->Value.bin.lpb)) == S_OK);
    std::copy(bytes.begin(), bytes.end(), value->Value.bin.lpb);
    return value;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    Model model;
    model.bytes = input.ConsumeBytes<BYTE>(input.ConsumeIntegralInRange(0, 256));
    const bool adopt = input.ConsumeBool();
    // Exactly the value's size, so that AddressSanitizer sees a step past its end.
    std::vector<BYTE> buffer(model.bytes);
    ObservedStream stream;
    if (adopt)
        stream.AttachValue(MakeValue(model.bytes));
    else
        stream.Init(static_cast<ULONG>(buffer.size()), buffer.data());
    LPBYTE bytes = stream.GetBuffer();
    while (input.remaining_bytes() > 0)
    {
        Apply(input, stream, model);
        FUZZ_CHECK(stream.Position() == model.position && stream.GetLength() == model.written);
    }
    FUZZ_CHECK(model.bytes.empty() || std::equal(model.bytes.begin(), model.bytes.end(), bytes));
    return 0;
}
