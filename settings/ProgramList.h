#pragma once

#include "foundation/GString.h"

// The programs Morvane leaves alone, as the preferences keep them: file names
// ("notepad.exe") separated by ';', compared without case. Blanks around a
// name and empty names are dropped; a name is kept once.
class CProgramList {
public:
    CProgramList();
    explicit CProgramList(const char* text);

    void Assign(const char* text);
    const char* Text() const { return m_text.Text(); }
    int Count() const;
    // The index-th name, empty past the end.
    CGString Name(int index) const;
    BOOL Contains(const char* fileName) const;
    // FALSE when the name is empty, has a separator or is there already.
    BOOL Add(const char* fileName);
    void Remove(int index);

    // Programs left alone whatever the list says, where a hook or a changed
    // caption is known to do harm.
    static BOOL IsAlwaysExcluded(const char* fileName);
    // The list with the programs always left alone in front: what the hook is told.
    CGString WithAlwaysExcluded() const;

private:
    CProgramList(const CProgramList&) = delete;
    CProgramList& operator=(const CProgramList&) = delete;
    // The next name from *cursor, which moves past it; FALSE at the end.
    static BOOL NextName(const char** cursor, const char** start, int* length);
    static BOOL SameName(const char* name, int length, const char* fileName);
    // Whether the ';'-separated text names the file.
    static BOOL Lists(const char* text, const char* fileName);

    CGString m_text;
};
