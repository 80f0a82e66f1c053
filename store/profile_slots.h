#pragma once
// Operations on whole profile slots: import from and export to a file the
// user picks, reset to the default profile, copy from another slot. A slot's
// file is only ever replaced whole and atomically (SettingsStore), so a failed
// import, reset or copy leaves the slot as it was.

#include <QString>

class FileDialogs;
class SettingsStore;

class ProfileSlots {
public:
    ProfileSlots(SettingsStore& store, FileDialogs& dialogs);

    // Asks for a profile file and replaces slot `profile` with it. True when a
    // file was chosen (even if it was refused or could not be copied), false
    // when the dialog was cancelled or the slot does not exist. A file that is
    // not plausible INI text (see ImportCheck) is refused.
    bool loadProfile(int profile);
    // Asks for a target and writes a copy of slot `profile`'s file there,
    // including changes not yet written back. True when the copy was written.
    bool saveProfile(int profile);
    // Replaces slot `profile` with a copy of the default profile.
    bool resetProfile(int profile);
    // Replaces slot `destprofile` with a copy of slot `srcprofile`. A slot
    // copied onto itself stays as it is.
    bool copyProfile(int destprofile, int srcprofile);

    // "Profile(*.pf)"
    static QString fileFilter();

private:
    SettingsStore& m_store;
    FileDialogs& m_dialogs;
};
