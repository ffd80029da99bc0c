#pragma once

// The engine's own settings, kept under its own registry key
// HKEY_CURRENT_USER\Software\Quorvel\Morvane\Dictionary.
class CDictionaryOptions {
public:
    void Load();
    void Save() const;

    bool m_bCapture = true; // write untranslated captions down
};
