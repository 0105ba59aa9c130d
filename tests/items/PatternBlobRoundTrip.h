// The recurrence blob read from bytes and written back to bytes, for the tests that compare a blob field by field
// and byte for byte; the writer's own size must match what it wrote.
#pragma once

#include "items/RecurrencePatternBlob.h"

#include <gtest/gtest.h>

#include <vector>

inline mapipim::RecurrencePatternBlob ReadPatternBlob(const std::vector<BYTE>& bytes)
{
    mapipim::BlobReader reader(bytes.data(), static_cast<ULONG>(bytes.size()));
    return mapipim::ReadRecurrencePattern(reader);
}

inline std::vector<BYTE> WritePatternBlob(const mapipim::RecurrencePatternBlob& blob)
{
    std::vector<BYTE> buffer(mapipim::RecurrencePatternSize(blob) + 16, 0xCC);
    CMAPIByteStream stream;
    stream.Init(static_cast<ULONG>(buffer.size()), buffer.data());
    mapipim::WriteRecurrencePattern(stream, blob);
    EXPECT_EQ(mapipim::RecurrencePatternSize(blob), stream.GetLength());
    buffer.resize(stream.GetLength());
    return buffer;
}
