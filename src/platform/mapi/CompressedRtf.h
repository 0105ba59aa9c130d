// The stored form of PR_RTF_COMPRESSED: a 16-byte header (COMPSIZE, RAWSIZE, COMPTYPE, CRC) followed by the RTF,
// either LZ77-compressed against a 4096-byte ring dictionary preloaded with common RTF words ("LZFu") or stored
// as it is ("MELA"). Stored bytes come from any writer, so decoding checks every size and offset against what
// it has and reports a damaged stream instead of reading or writing past either buffer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace mapisvc
{
constexpr uint32_t kCompressedRtfMagic = 0x75465A4C;   // "LZFu"
constexpr uint32_t kUncompressedRtfMagic = 0x414C454D; // "MELA"
constexpr size_t kCompressedRtfHeaderSize = 16;

enum class RtfDecodeStatus
{
    Ok,
    CrcMismatch, // complete and consistent, but the stored CRC is not that of the content
    Damaged,     // rtf holds what could be decoded before the damage
};

struct RtfDecodeResult
{
    RtfDecodeStatus status = RtfDecodeStatus::Ok;
    std::string reason;     // what is wrong, for a trace line; empty when Ok
    uint32_t storedCrc = 0; // the header's CRC and the content's, for a CrcMismatch
    uint32_t contentCrc = 0;
};

// The CRC of the format: reflected CRC-32 (polynomial 0xEDB88320) started at 0, without a final inversion.
uint32_t CompressedRtfCrc(const unsigned char* pBytes, size_t cb, uint32_t crc = 0);

// Decodes either form into rtf.
RtfDecodeResult DecompressRtf(std::string_view stored, std::string& rtf);

// The compressed form, as the published compressor makes it (the same bytes for the same text).
std::string CompressRtf(std::string_view rtf);
// The uncompressed form, for stores that keep RTF uncompressed.
std::string StoreRtfUncompressed(std::string_view rtf);
} // namespace mapisvc
