#include "platform/ExtensionList_Linux.h"

#include <cstring>

bool ExtensionListNames(const char* list, const char* extension)
{
    if (list == nullptr)
        return false;
    const std::size_t length = std::strlen(extension);
    for (const char* at = std::strstr(list, extension); at != nullptr; at = std::strstr(at + length, extension)) {
        if ((at == list || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0'))
            return true;
    }
    return false;
}
