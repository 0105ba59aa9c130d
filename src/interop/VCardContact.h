// A contact as a vCard 4.0 card and back: names, the three e-mail slots, every telephone slot by its TYPEs, the
// three postal addresses, organisation, title, birthday and anniversary, web pages, notes and the picture as a
// data URI. Cards are read strictly: UTF-8 without a charset, VERSION 4.0 (or 3.0, whose grammar is the same for
// these properties), every card closed; a card that breaks a rule fails alone, with the line it starts on.
#pragma once

#include <mapipim/MAPIContactInfo.h>

#include <string>
#include <string_view>
#include <vector>

namespace mapipim::interop
{
struct Picture
{
    std::string mediaType; // "image/jpeg"
    std::vector<unsigned char> bytes;
};

std::string WriteVCard(const CMAPIContactInfo& contact, const Picture& picture);

struct ReadCard
{
    int nLine = 0;     // where the card begins
    std::string error; // empty when the card was read
    CMAPIContactInfo contact;
    Picture picture;
};

std::vector<ReadCard> ReadVCards(std::string_view text);
} // namespace mapipim::interop
