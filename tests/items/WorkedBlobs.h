// The worked blobs of the published recurrence and time-zone formats, as hexadecimal text (spaces ignored),
// shared by the tests and the fuzz seeds.
#pragma once

// Weekly every Monday, Thursday and Friday 10:00-10:30 from 2007-03-26, 12 occurrences.
inline const char kWeeklyBlob[] = "04 30 04 30 0b 20 01 00 00 00 c0 21 00 00 01 00 00 00 00 00 00 00 32 00 00 00 22 20"
                                  "00 00 0c 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 80 20 bc 0c 20 ad bc 0c 06 30"
                                  "00 00 09 30 00 00 58 02 00 00 76 02 00 00 00 00 00 00 00 00 00 00 00 00";

// Every 3 days 2011-04-07 to 2011-05-04, 08:00-08:30, the 04-19 and 04-22 instances deleted.
inline const char kDailyWithDeletionsBlob[] =
    "04 30 04 30 0a 20 00 00 00 00 a0 05 00 00 e0 10 00 00 00 00 00 00 21 20 00 00 0a 00 00 00 00 00"
    "00 00 02 00 00 00 a0 c1 dc 0c 80 d2 dc 0c 00 00 00 00 20 7e dc 0c 00 16 dd 0c 06 30 00 00 09 30"
    "00 00 e0 01 00 00 fe 01 00 00 00 00 00 00 00 00 00 00 00 00";

// The weekly series with its 2007-04-16 instance moved to 11:00 with a new subject and location.
inline const char kWeeklyWithExceptionBlob[] =
    "04 30 04 30 0b 20 01 00 00 00 c0 21 00 00 01 00 00 00 00 00 00 00 32 00 00 00 22 20 00 00 0c 00"
    "00 00 00 00 00 00 01 00 00 00 a0 96 bc 0c 01 00 00 00 a0 96 bc 0c 80 20 bc 0c 20 ad bc 0c 06 30"
    "00 00 09 30 00 00 58 02 00 00 76 02 00 00 01 00 34 99 bc 0c 52 99 bc 0c f8 98 bc 0c 11 00 22 00"
    "21 00 53 69 6d 70 6c 65 20 52 65 63 75 72 72 65 6e 63 65 20 77 69 74 68 20 65 78 63 65 70 74 69"
    "6f 6e 73 08 00 07 00 33 34 2f 34 31 34 31 00 00 00 00 04 00 00 00 00 00 00 00 00 00 00 00 34 99"
    "bc 0c 52 99 bc 0c f8 98 bc 0c 21 00 53 00 69 00 6d 00 70 00 6c 00 65 00 20 00 52 00 65 00 63 00"
    "75 00 72 00 72 00 65 00 6e 00 63 00 65 00 20 00 77 00 69 00 74 00 68 00 20 00 65 00 78 00 63 00"
    "65 00 70 00 74 00 69 00 6f 00 6e 00 73 00 07 00 33 00 34 00 2f 00 34 00 31 00 34 00 31 00 00 00"
    "00 00 00 00 00 00";

// Yearly on the Hebrew calendar, never ending, one exception.
inline const char kHebrewYearlyBlob[] =
    "04 30 04 30 0d 20 02 00 08 00 80 75 0a 00 0c 00 00 00 00 00 00 00 03 00 00 00 23 20 00 00 0a 00"
    "00 00 00 00 00 00 01 00 00 00 20 7e dc 0c 01 00 00 00 20 7e dc 0c 60 74 c4 0c df 80 e9 5a 06 30"
    "00 00 09 30 00 00 e0 01 00 00 fe 01 00 00 01 00 00 80 dc 0c 1e 80 dc 0c 00 80 dc 0c 24 02 3c 00"
    "00 00 01 00 00 00 00 00 00 00 04 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";

// "Pacific Standard Time" with its 2006 and 2007 rules, the 2007 one effective.
inline const char kPacificDefinitionBlob[] =
    "02 01 30 00 02 00 15 00 50 00 61 00 63 00 69 00 66 00 69 00 63 00 20 00 53 00 74 00 61 00 6e 00"
    "64 00 61 00 72 00 64 00 20 00 54 00 69 00 6d 00 65 00 02 00 02 01 3e 00 00 00 d6 07 00 00 00 00"
    "00 00 00 00 00 00 00 00 00 00 e0 01 00 00 00 00 00 00 c4 ff ff ff 00 00 0a 00 00 00 05 00 02 00"
    "00 00 00 00 00 00 00 00 04 00 00 00 01 00 02 00 00 00 00 00 00 00 02 01 3e 00 02 00 d7 07 00 00"
    "00 00 00 00 00 00 00 00 00 00 00 00 e0 01 00 00 00 00 00 00 c4 ff ff ff 00 00 0b 00 00 00 01 00"
    "02 00 00 00 00 00 00 00 00 00 03 00 00 00 02 00 02 00 00 00 00 00 00 00";

// The time-zone structure of the same zone's 2007 rule.
inline const char kPacificStructBlob[] = "e0 01 00 00 00 00 00 00 c4 ff ff ff 00 00 00 00 0b 00 00 00 01 00 02 00"
                                         "00 00 00 00 00 00 00 00 00 00 03 00 00 00 02 00 02 00 00 00 00 00 00 00";
