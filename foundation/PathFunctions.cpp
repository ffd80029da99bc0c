#include "foundation/PathFunctions.h"

namespace {

// True for the empty path as well: its last separator, -1, is then its last byte index.
bool EndsWithSeparator(const CGString& path)
{
    return path.FindLastChar('\\') == path.Length() - 1;
}

} // namespace

CGString WithTrailingSeparator(const char* path)
{
    CGString result(path);
    if (!EndsWithSeparator(result))
        result.AppendChar('\\');
    return result;
}

CGString JoinPath(const char* folder, const char* name)
{
    return CGString::Concat(WithTrailingSeparator(folder), name);
}

BOOL IsRootPath(const char* path)
{
    CGString text(path);
    int separator = text.FindChar('\\', 0);
    if (separator == 0)
        return TRUE;
    return text.Length() == 3 && text.FindChar(':', 0) == 1 && separator == 2;
}

CGString WithoutTrailingSeparator(const char* path)
{
    CGString text(path);
    if (IsRootPath(path) || !EndsWithSeparator(text))
        return text;
    return text.Head(text.Length() - 1);
}

CGString FileNamePart(const char* path)
{
    CGString trimmed = WithoutTrailingSeparator(path);
    int separator = trimmed.FindLastChar('\\');
    if (separator < 0)
        return trimmed;
    return trimmed.Sub(separator + 1, -1);
}

CGString DirectoryPart(const char* path)
{
    CGString text(path);
    int separator = text.FindLastChar('\\');
    int colon = text.FindLastChar(':');
    if (separator < 0 && colon < 0)
        return CGString(1);
    CGString head = text.Head((separator > colon ? separator : colon) + 1);
    return WithoutTrailingSeparator(head.Text());
}

CGString ProgramFolder()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    // A path cut to fit the buffer comes back without its terminator.
    path[length < MAX_PATH ? length : MAX_PATH - 1] = '\0';
    return DirectoryPart(path);
}
