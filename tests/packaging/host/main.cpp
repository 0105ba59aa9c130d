// Logs on to the default profile of MAPIPIM_HOME and prints how many stores and folders discovery found.
#include <mapipim/mapipim.h>

#include <cstdio>

int main()
{
    CMAPIInterface mapi;
    CArray<COutlookStore*, COutlookStore*> stores;
    if (!mapi.GetDefaultStoreFolder(stores, 0xFFFFFFFF))
    {
        std::puts("no store");
        return 1;
    }
    INT_PTR folders = 0;
    for (INT_PTR i = 0; i < stores.GetSize(); ++i)
    {
        folders += stores.GetAt(i)->arrFolders.GetSize();
        delete stores.GetAt(i);
    }
    std::printf("%d store(s), %d folder(s)\n", static_cast<int>(stores.GetSize()), static_cast<int>(folders));
    return folders > 0 ? 0 : 1;
}
