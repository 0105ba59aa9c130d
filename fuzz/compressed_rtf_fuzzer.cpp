// The compressed-RTF decoder over any stored bytes: it never reads or writes out of bounds, gives no more than
// RAWSIZE bytes, and whatever it decodes completely recompresses to a stream that decodes to the same RTF.
//
// Input: the stored PR_RTF_COMPRESSED value.
#include "FuzzSupport.h"

#include "platform/mapi/CompressedRtf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string stored(reinterpret_cast<const char*>(data), size);
    std::string rtf;
    const mapisvc::RtfDecodeResult result = mapisvc::DecompressRtf(stored, rtf);
    if (result.status == mapisvc::RtfDecodeStatus::Damaged)
    {
        FUZZ_CHECK(!result.reason.empty());
        return 0;
    }
    std::string again;
    FUZZ_CHECK(mapisvc::DecompressRtf(mapisvc::CompressRtf(rtf), again).status == mapisvc::RtfDecodeStatus::Ok);
    FUZZ_CHECK(again == rtf);
    return 0;
}
