// The published example of HTML encapsulated in RTF, as the RTF reads and as it de-encapsulates (every line of
// the HTML ends in CR LF; line breaks of the RTF source are no text).
#pragma once

inline const char* const kEncapsulatedHtmlRtf =
    "{\\rtf1\\ANSI\\ansicpg1251\\fromhtml1 \\deff0\n"
    "{\\fonttbl {\\f0\\fmodern Courier New;}{\\f1\\fswiss Arial;}{\\f2\\fswiss\\fcharset0 Arial;}}\n"
    "{\\colortbl\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\n"
    "{\\*\\htmltag64}\n"
    "\\uc1\\pard\\plain\\deftab360 \\f0\\fs24\n"
    "{\\*\\htmltag <HTML><head>\\par\n"
    "<style>\\par\n"
    "<!--\\par\n"
    " /* Style Definitions */\\par\n"
    " p.MsoNormal, li.MsoNormal \\{font-family:Arial;\\}\\par\n"
    "-->\\par\n"
    "</style>\\par\n"
    "\\tab <!-- This is a HTML comment.\\par\n"
    "There is a horizontal tab (%x09) character before the comment, \\par\n"
    "and some new lines inside the comment. -->\\par\n"
    "</head>\\par\n"
    "<body>\\par\n"
    "<p\\par\n"
    "class=\"MsoNormal\">}\n"
    "{\\htmlrtf \\f1 \\htmlrtf0 Note the line break inside a P tag. {\\*\\htmltag <b>}{\\htmlrtf \\b \\htmlrtf0 This is a bold text{\\*\\htmltag </b>}} \\htmlrtf\\par\\htmlrtf0}\n"
    "\\htmlrtf \\par \\htmlrtf0\n"
    "{\\*\\htmltag </p>\\par\n"
    "<p class=\"MsoNormal\">\\par}\n"
    "{\\htmlrtf \\f1 \\htmlrtf0 This is a normal text with a character references:\n"
    "{\\*\\htmltag &nbsp;}\\htmlrtf \\'a0\\htmlrtf0  {\\*\\htmltag &lt;}\\htmlrtf <\\htmlrtf0  {\\*\\htmltag &uml;}\\htmlrtf {\\f2\\'a8}\\htmlrtf0{\\*\\htmltag <br>\\par}\\htmlrtf\\line\\htmlrtf0\n"
    "characters which have special meaning in RTF: \\{\\}\\\\{\\*\\htmltag <br>\\par}\\htmlrtf\\line\\htmlrtf0\\htmlrtf\\par\\htmlrtf0}\n"
    "{\\*\\htmltag </p>\\par\n"
    "<ol>\\par\n"
    "    <li class=\"MsoNormal\">}{\\htmlrtf {{\\*\\pn\\pnlvlbody\\pndec\\pnstart1\\pnindent360{\\pntxta.}}\\li360\\fi-360{\\pntext 1.\\tab} \\f1 \\htmlrtf0 This is a list item}\\htmlrtf\\par\\htmlrtf0}\n"
    "{\\*\\htmltag \\par\n"
    "</ol>\\par\n"
    "</body>\\par\n"
    "</HTML>\\par }}\n";

inline const char* const kEncapsulatedHtml =
    "<HTML><head>\r\n"
    "<style>\r\n"
    "<!--\r\n"
    " /* Style Definitions */\r\n"
    " p.MsoNormal, li.MsoNormal {font-family:Arial;}\r\n"
    "-->\r\n"
    "</style>\r\n"
    "\t<!-- This is a HTML comment.\r\n"
    "There is a horizontal tab (%x09) character before the comment, \r\n"
    "and some new lines inside the comment. -->\r\n"
    "</head>\r\n"
    "<body>\r\n"
    "<p\r\n"
    "class=\"MsoNormal\">Note the line break inside a P tag. <b>This is a bold text</b> </p>\r\n"
    "<p class=\"MsoNormal\">\r\n"
    "This is a normal text with a character references:&nbsp; &lt; &uml;<br>\r\n"
    "characters which have special meaning in RTF: {}\\<br>\r\n"
    "</p>\r\n"
    "<ol>\r\n"
    "    <li class=\"MsoNormal\">This is a list item\r\n"
    "</ol>\r\n"
    "</body>\r\n"
    "</HTML>\r\n";

// An RTF body with encapsulated text in code page 1251, and its text.
inline const char* const kEncapsulatedTextRtf =
    "{\\rtf1\\ansi\\ansicpg1251\\fromtext \\deff0{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial;}}\n"
    "\\pard\\plain\\f0\\fs20 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\par\\tab ok\\par}";
