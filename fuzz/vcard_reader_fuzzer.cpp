// The vCard reader behind CMAPIInterface::ImportVCard, over any bytes a .vcf file may hold.
// Checks: every card that fails names the line it fails on; a card that was read, written again and read back is
// read without failure and gives the same contact (names, slots and picture).
//
// Input: the file's bytes.
#include "FuzzSupport.h"

#include "interop/VCardContact.h"

#include <string_view>

using namespace mapipim::interop;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const ReadCard& card : ReadVCards(text))
    {
        if (!card.error.empty())
        {
            FUZZ_CHECK(card.error.compare(0, 5, "line ") == 0);
            continue;
        }
        const std::vector<ReadCard> again = ReadVCards(WriteVCard(card.contact, card.picture));
        FUZZ_CHECK(again.size() == 1);
        FUZZ_CHECK(again[0].error.empty());
        const CMAPIContactInfo& a = card.contact;
        const CMAPIContactInfo& b = again[0].contact;
        FUZZ_CHECK(a.strLastName == b.strLastName && a.strFirstName == b.strFirstName && a.strEmail1 == b.strEmail1 &&
                   a.strNumberBiz1 == b.strNumberBiz1 && a.strBizStreet == b.strBizStreet && a.strMemo == b.strMemo);
        FUZZ_CHECK(card.picture.bytes == again[0].picture.bytes);
    }
    return 0;
}
