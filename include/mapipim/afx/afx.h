// The host framework classes the library uses, for builds without MFC: CString, CArray, COleDateTime and
// COleDateTimeSpan, CFile, CFileFind. Reached through <mapipim/platform.h>.
#pragma once

#include <mapipim/afx/FormatArg.h>
#include <mapipim/afx/String.h>
#include <mapipim/afx/Array.h>
#include <mapipim/afx/OleDateTime.h>
#include <mapipim/afx/File.h>
#include <mapipim/afx/FileFind.h>
