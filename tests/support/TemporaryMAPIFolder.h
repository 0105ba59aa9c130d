// TEMPORARY, test-only: CMAPIFolder is built on its own branch. Until it lands, the test programs that link the
// session object (which deletes its current folder) get the folder's constructor, destructor and Close from
// here. Include this header in exactly one source of a test program. Remove it, and its includes, when
// src/session/MAPIFolder.cpp defines these members.
#pragma once

#include <mapipim/MAPIFolder.h>

CMAPIFolder::CMAPIFolder()
    : m_pHierarchy(NULL), m_pContents(NULL), m_nRowsPerQuery(512), m_nRowIndex(0), m_pRows(NULL), m_hrLastFetch(S_OK)
{
}

CMAPIFolder::~CMAPIFolder()
{
    CMAPIFolder::Close();
}

void CMAPIFolder::Close()
{
    CMAPIItem::Close();
}
