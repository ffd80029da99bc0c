#include "DictionaryTable.h"

#include <fstream>

bool CDictionaryTable::Load(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    std::map<std::string, std::string> entries;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string::size_type tab = line.find('\t');
        if (line.empty() || line[0] == '#' || tab == std::string::npos || tab == 0)
            continue;
        entries.emplace(line.substr(0, tab), line.substr(tab + 1));
    }
    m_entries.swap(entries);
    return true;
}

const std::string* CDictionaryTable::Find(const char* source) const
{
    std::map<std::string, std::string>::const_iterator found = m_entries.find(source);
    return found == m_entries.end() ? nullptr : &found->second;
}
