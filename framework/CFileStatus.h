#pragma once
#include <windows.h>
#include "CTime.h"

// What CFile::GetStatus reads about a file and CFile::SetStatus writes back.
struct CFileStatus {
    CTime m_ctime;            // creation
    CTime m_mtime;            // last write
    CTime m_atime;            // last access
    ULONGLONG m_size = 0;
    BYTE m_attribute = 0;     // read-only 0x01, hidden 0x02, system 0x04, volume 0x08, directory 0x10, archive 0x20
    char m_szFullName[MAX_PATH] = {};
};
