#include "platform/mapi/CompressedRtf.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace mapisvc
{
namespace
{
constexpr size_t kRingSize = 4096;
constexpr uint32_t kRingMask = kRingSize - 1;
constexpr size_t kMaxMatch = 17;
// Candidates looked at per position: enough for text, a bound for input made of one repeated pair of bytes.
constexpr int kMaxCandidates = 1024;

const char kPreload[] = R"({\rtf1\ansi\mac\deff0\deftab720{\fonttbl;}{\f0\fnil \froman \fswiss \fmodern )"
                        R"(\fscript \fdecor MS Sans SerifSymbolArialTimes New RomanCourier{\colortbl\red0\green0)"
                        "\\blue0\r\n"
                        R"(\par \pard\plain\f0\fs20\b\i\u\tab\tx)";
constexpr size_t kPreloadSize = sizeof(kPreload) - 1;
static_assert(kPreloadSize == 207, "the published dictionary is 207 bytes");

const std::array<uint32_t, 256> kCrcTable = []
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n)
    {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

uint32_t ReadUInt32(std::string_view bytes, size_t offset)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + offset;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void AppendUInt32(std::string& bytes, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::string Header(size_t cbContent, size_t cbRaw, uint32_t magic, uint32_t crc)
{
    std::string header;
    AppendUInt32(header, static_cast<uint32_t>(cbContent + 12));
    AppendUInt32(header, static_cast<uint32_t>(cbRaw));
    AppendUInt32(header, magic);
    AppendUInt32(header, crc);
    return header;
}

// The ring both directions share: every byte produced goes in at the write position.
class Ring
{
public:
    Ring()
    {
        std::memcpy(m_bytes.data(), kPreload, kPreloadSize);
        m_write = kPreloadSize;
        m_total = kPreloadSize;
    }

    uint32_t WritePosition() const { return m_write; }
    // Until the ring has gone round once, only the positions before the write position hold anything.
    bool Written(uint32_t position) const { return m_total >= kRingSize || position < m_write; }
    unsigned char At(uint32_t position) const { return m_bytes[position & kRingMask]; }
    void Put(unsigned char byte)
    {
        m_bytes[m_write] = byte;
        m_write = (m_write + 1) & kRingMask;
        if (m_total < kRingSize)
            ++m_total;
    }

private:
    std::array<unsigned char, kRingSize> m_bytes{};
    uint32_t m_write;
    size_t m_total;
};

// The compressor's index of the ring: for each pair of bytes, the positions where it starts.
class PairIndex
{
public:
    PairIndex()
    {
        m_head.fill(-1);
        m_listed.fill(false);
    }

    static uint32_t Key(unsigned char first, unsigned char second) { return uint32_t(first) << 8 | second; }

    void Link(const Ring& ring, uint32_t position)
    {
        const uint32_t key = Key(ring.At(position), ring.At(position + 1));
        m_key[position] = key;
        m_prev[position] = -1;
        m_next[position] = m_head[key];
        if (m_head[key] >= 0)
            m_prev[m_head[key]] = static_cast<int16_t>(position);
        m_head[key] = static_cast<int16_t>(position);
        m_listed[position] = true;
    }

    void Unlink(uint32_t position)
    {
        if (!m_listed[position])
            return;
        if (m_prev[position] >= 0)
            m_next[m_prev[position]] = m_next[position];
        else
            m_head[m_key[position]] = m_next[position];
        if (m_next[position] >= 0)
            m_prev[m_next[position]] = m_prev[position];
        m_listed[position] = false;
    }

    int First(uint32_t key) const { return m_head[key]; }
    int Next(uint32_t position) const { return m_next[position]; }

private:
    std::array<int16_t, 65536> m_head;
    std::array<int16_t, kRingSize> m_next{};
    std::array<int16_t, kRingSize> m_prev{};
    std::array<uint32_t, kRingSize> m_key{};
    std::array<bool, kRingSize> m_listed;
};

class Compressor
{
public:
    explicit Compressor(std::string_view rtf) : m_input(reinterpret_cast<const unsigned char*>(rtf.data())), m_size(rtf.size())
    {
        for (uint32_t position = 0; position + 1 < kPreloadSize; ++position)
            m_index.Link(m_ring, position);
    }

    std::string Run()
    {
        size_t pos = 0;
        while (pos < m_size)
        {
            uint32_t offset = 0;
            const size_t length = LongestMatch(pos, offset);
            if (length >= 2)
            {
                Token(true);
                const uint32_t word = offset << 4 | static_cast<uint32_t>(length - 2);
                m_content.push_back(static_cast<char>(word >> 8));
                m_content.push_back(static_cast<char>(word & 0xFF));
                for (size_t i = 0; i < length; ++i)
                    Put(m_input[pos + i]);
                pos += length;
            }
            else
            {
                Token(false);
                m_content.push_back(static_cast<char>(m_input[pos]));
                Put(m_input[pos++]);
            }
        }
        // The end: a reference to the write position itself.
        Token(true);
        const uint32_t word = m_ring.WritePosition() << 4;
        m_content.push_back(static_cast<char>(word >> 8));
        m_content.push_back(static_cast<char>(word & 0xFF));
        const uint32_t crc =
            CompressedRtfCrc(reinterpret_cast<const unsigned char*>(m_content.data()), m_content.size());
        return Header(m_content.size(), m_size, kCompressedRtfMagic, crc) + m_content;
    }

private:
    void Token(bool reference)
    {
        if (m_bits == 8)
        {
            m_control = m_content.size();
            m_content.push_back('\0');
            m_bits = 0;
        }
        if (reference)
            m_content[m_control] = static_cast<char>(static_cast<unsigned char>(m_content[m_control]) | 1u << m_bits);
        ++m_bits;
    }

    void Put(unsigned char byte)
    {
        const uint32_t position = m_ring.WritePosition();
        const uint32_t before = (position - 1) & kRingMask;
        m_index.Unlink(before);
        m_index.Unlink(position);
        m_ring.Put(byte);
        if (m_ring.Written(before))
            m_index.Link(m_ring, before);
        if (m_ring.Written((position + 1) & kRingMask))
            m_index.Link(m_ring, position);
    }

    // How far the bytes a reference to `offset` would produce match the input at pos: a reference that reaches
    // the write position goes on with the bytes it has just produced itself, as the decoder does.
    size_t MatchLength(uint32_t offset, size_t pos, size_t maxLength) const
    {
        const uint32_t write = m_ring.WritePosition();
        size_t length = 0;
        while (length < maxLength)
        {
            const uint32_t source = (offset + static_cast<uint32_t>(length)) & kRingMask;
            const size_t produced = (source - write) & kRingMask;
            unsigned char byte = 0;
            if (produced < length)
                byte = m_input[pos + produced];
            else if (m_ring.Written(source))
                byte = m_ring.At(source);
            else
                break;
            if (byte != m_input[pos + length])
                break;
            ++length;
        }
        return length;
    }

    // The longest match, and of those the one met first when the ring is scanned from its oldest byte.
    size_t LongestMatch(size_t pos, uint32_t& bestOffset) const
    {
        const size_t maxLength = std::min(kMaxMatch, m_size - pos);
        if (maxLength < 2)
            return 0;
        const uint32_t write = m_ring.WritePosition();
        size_t bestLength = 0;
        uint32_t bestOrder = kRingSize;
        auto consider = [&](uint32_t offset)
        {
            if (offset == write)
                return;
            const size_t length = MatchLength(offset, pos, maxLength);
            const uint32_t order = (offset - write - 1) & kRingMask;
            if (length > bestLength || (length == bestLength && order < bestOrder))
            {
                bestLength = length;
                bestOrder = order;
                bestOffset = offset;
            }
        };
        int seen = 0;
        for (int offset = m_index.First(PairIndex::Key(m_input[pos], m_input[pos + 1]));
             offset >= 0 && seen < kMaxCandidates; offset = m_index.Next(offset), ++seen)
            consider(static_cast<uint32_t>(offset));
        // The byte just before the write position pairs with a byte the reference itself produces: the index,
        // which pairs it with the old byte there, cannot know it.
        const uint32_t last = (write - 1) & kRingMask;
        if (m_ring.Written(last))
            consider(last);
        return bestLength;
    }

    const unsigned char* m_input;
    size_t m_size;
    Ring m_ring;
    PairIndex m_index;
    std::string m_content;
    size_t m_control = 0;
    int m_bits = 8;
};

RtfDecodeResult Damaged(const char* reason)
{
    RtfDecodeResult result;
    result.status = RtfDecodeStatus::Damaged;
    result.reason = reason;
    return result;
}

RtfDecodeResult Decompress(std::string_view content, uint32_t rawSize, std::string& rtf)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(content.data());
    Ring ring;
    // RAWSIZE comes from the stream: never reserve more than the content could produce.
    rtf.reserve(std::min<size_t>(rawSize, content.size() * kMaxMatch));
    size_t in = 0;
    while (in < content.size())
    {
        const unsigned char control = bytes[in++];
        for (int bit = 0; bit < 8 && in < content.size(); ++bit)
        {
            if (!(control & (1u << bit)))
            {
                if (rtf.size() >= rawSize)
                    return Damaged("more bytes than RAWSIZE");
                rtf.push_back(static_cast<char>(bytes[in]));
                ring.Put(bytes[in++]);
                continue;
            }
            if (in + 1 >= content.size())
                return Damaged("a reference cut short");
            const uint32_t word = uint32_t(bytes[in]) << 8 | bytes[in + 1];
            in += 2;
            const uint32_t offset = word >> 4;
            const size_t length = (word & 0xF) + 2;
            if (offset == ring.WritePosition())
                return rtf.size() == rawSize ? RtfDecodeResult() : Damaged("RAWSIZE not reached");
            if (!ring.Written(offset))
                return Damaged("a reference past the output");
            if (rtf.size() + length > rawSize)
                return Damaged("more bytes than RAWSIZE");
            for (size_t i = 0; i < length; ++i)
            {
                const unsigned char byte = ring.At(offset + static_cast<uint32_t>(i));
                rtf.push_back(static_cast<char>(byte));
                ring.Put(byte);
            }
        }
    }
    // No end reference: complete only when everything RAWSIZE announced came out.
    return rtf.size() == rawSize ? RtfDecodeResult() : Damaged("RAWSIZE not reached");
}
} // namespace

uint32_t CompressedRtfCrc(const unsigned char* pBytes, size_t cb, uint32_t crc)
{
    for (size_t i = 0; i < cb; ++i)
        crc = kCrcTable[(crc ^ pBytes[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

RtfDecodeResult DecompressRtf(std::string_view stored, std::string& rtf)
{
    rtf.clear();
    if (stored.size() < kCompressedRtfHeaderSize)
        return Damaged("a header cut short");
    const uint32_t compSize = ReadUInt32(stored, 0);
    const uint32_t rawSize = ReadUInt32(stored, 4);
    const uint32_t magic = ReadUInt32(stored, 8);
    if (compSize < 12)
        return Damaged("COMPSIZE below 12");
    if (uint64_t(compSize) + 4 > stored.size())
        return Damaged("COMPSIZE past the end of the stream");
    const std::string_view content = stored.substr(kCompressedRtfHeaderSize, compSize - 12);
    if (magic == kUncompressedRtfMagic)
    {
        if (rawSize > content.size())
            return Damaged("RAWSIZE past the content");
        rtf.assign(content.substr(0, rawSize));
        return RtfDecodeResult();
    }
    if (magic != kCompressedRtfMagic)
        return Damaged("an unknown COMPTYPE");
    RtfDecodeResult result = Decompress(content, rawSize, rtf);
    if (result.status != RtfDecodeStatus::Ok)
        return result;
    result.storedCrc = ReadUInt32(stored, 12);
    result.contentCrc = CompressedRtfCrc(reinterpret_cast<const unsigned char*>(content.data()), content.size());
    if (result.storedCrc != result.contentCrc)
    {
        result.status = RtfDecodeStatus::CrcMismatch;
        result.reason = "a CRC that is not the content's";
    }
    return result;
}

std::string CompressRtf(std::string_view rtf)
{
    // The index is too large for a thread's stack.
    return std::make_unique<Compressor>(rtf)->Run();
}

std::string StoreRtfUncompressed(std::string_view rtf)
{
    return Header(rtf.size(), rtf.size(), kUncompressedRtfMagic, 0) + std::string(rtf);
}
} // namespace mapisvc
