// Bytes for the blob tests: hexadecimal text (spaces and line breaks ignored) turned into bytes, and the blobs of
// real Outlook items by file and property.
#pragma once

#include "items/OutlookBlobSamples.h"
#include "items/WorkedBlobs.h"

#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

inline std::vector<BYTE> FromHex(const char* pszHex)
{
    std::vector<BYTE> bytes;
    std::string digits;
    for (const char* p = pszHex; *p; ++p)
        if (std::isxdigit(static_cast<unsigned char>(*p)))
            digits += *p;
    for (size_t i = 0; i + 1 < digits.size(); i += 2)
        bytes.push_back(static_cast<BYTE>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    return bytes;
}

inline const OutlookBlobSample& OutlookSample(const char* pszFile, unsigned long id)
{
    for (const OutlookBlobSample& sample : kOutlookBlobSamples)
        if (std::strcmp(sample.file, pszFile) == 0 && sample.id == id)
            return sample;
    ADD_FAILURE() << "no sample " << pszFile << " " << id;
    return kOutlookBlobSamples[0];
}
