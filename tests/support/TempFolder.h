#pragma once

#include <string>

// A fresh folder under the temporary folder, removed with its contents when
// the object goes.
class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    // The system's temporary folder, ending in a backslash.
    static std::string Root();

    const std::string& Path() const { return m_path; }
    std::string PathOf(const std::string& name) const { return m_path + "\\" + name; }
    // Writes the bytes into a file of the folder and returns its full path.
    std::string WriteFile(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};
