// TFxIniCtrl: a small settings store. Named string values grouped in
// sections, kept in a profile (INI) file or under a registry key, chosen by
// Target. Every ReadString, WriteString and EraseValue opens the file or key,
// does its work and closes it again; the store itself holds only its
// properties and LastSection.
//
//   INI target       the file GetIniFileName names; the section is the given
//                    name, or "<user>.<name>" when Common is false
//   registry target  the key GetRegKey names under RegRoot; a section is a
//                    sub-key ("#ROOT": the key itself), a value a REG_SZ
//
// Form services keep a form's placement in one of these (IniLink, or
// ApplicationServices->GlobalIniCtrl()):
//
//     store.WriteString("Common", "Form1", "200,0,1,100,80,500,380");
//     std::string record = store.ReadString("Common", "Form1", "");
//     store.EraseValue("Common", "Form1Color");
//
// Write failures raise EIniFileException "Unable to write to <file>" or
// ERegistryException "Failed to create key <section>" (and "Failed to set
// data for '<value>'"); a stored value that is not a string raises
// ERegistryException "Invalid data type for '<value>'".
#pragma once

#include "services/FxObjects.h"

#include "framework/runtime/RegistryStore.h"

#include <cstdint>
#include <optional>
#include <string>

enum TFxIniTarget { itIniFile, itRegistry, itAuto };
enum TFxPathPrefix { ppWindows, ppSystem, ppProgram, ppFixed };
enum TFxRegRootKey { rpClassesRoot, rpCurrentUser, rpLocalMachine, rpUsers, rpCurrentConfig, rpDynData };

// The largest MaxEntries while AlphaCounter is on (one entry per letter).
inline constexpr std::uint8_t AlphaCounterMaxEntries = 26;

class TFxIniCtrl : public TFxComponent {
public:
    explicit TFxIniCtrl(TComponent* owner);

    // Stored switches nothing here reads; only their setter rules apply: any
    // change of AlphaCounter lowers MaxEntries to 26 when it is larger, and a
    // MaxEntries above 26 is refused while AlphaCounter is on.
    bool AlphaCounter() const { return alphaCounter_; }
    void SetAlphaCounter(bool value);
    std::uint8_t MaxEntries() const { return maxEntries_; }
    void SetMaxEntries(std::uint8_t value);

    // INI target: one section shared by all users (true), or one per user.
    bool Common() const { return common_; }
    void SetCommon(bool value);
    // The INI file's name; a name without extension gets ".INI" when assigned.
    const std::string& IniFile() const { return iniFile_; }
    void SetIniFile(const std::string& value);
    TFxPathPrefix IniPrefix() const { return iniPrefix_; }
    void SetIniPrefix(TFxPathPrefix value);
    // Per-user sections use the logged-on user's name (NetUser) or User.
    // Turning NetUser on sets User to the logged-on user's name.
    bool NetUser() const { return netUser_; }
    void SetNetUser(bool value);
    const std::string& User() const { return user_; }
    void SetUser(const std::string& value);
    // Registry target: the key path (blank: ApplicationServices' DefaultRegPath)
    // under the root.
    const std::string& RegPath() const { return regPath_; }
    void SetRegPath(const std::string& value);
    TFxRegRootKey RegRoot() const { return regRoot_; }
    void SetRegRoot(TFxRegRootKey value);
    // itAuto means the registry; EffectiveTarget is what is used.
    TFxIniTarget Target() const { return target_; }
    void SetTarget(TFxIniTarget value);
    TFxIniTarget EffectiveTarget() const { return effectiveTarget_; }

    // The section the last non-blank name resolved to (see GetSectionName).
    const std::string& LastSection() const { return lastSection_; }

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& defaultValue);
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void EraseValue(const std::string& section, const std::string& ident);

    // The INI file's full path. An empty IniFile first becomes the program
    // file's path with extension ".INI"; ppFixed uses IniFile as it is, the
    // other prefixes put its file name in their folder. When that folder
    // cannot be told (no home folder), the file name alone: such a store
    // reads its defaults and fails every write.
    std::string GetIniFileName();
    // RegPath ending in '\', or DefaultRegPath when RegPath is blank.
    std::string GetRegKey() const;
    // The section a name stands for. A blank name gives LastSection, or
    // "Common" when that is blank too, and leaves LastSection alone. Otherwise
    // INI: the name, or "<user>.<name>" when not Common; registry: the name,
    // "#ROOT" giving the key itself (""). That result becomes LastSection.
    std::string GetSectionName(const std::string& name);
    // The logged-on user's name (at most 63 characters), or "(Unknown)".
    virtual std::string GetNetUserName();

    // The registry root of a TFxRegRootKey.
    static HKEY RootKey(TFxRegRootKey root);

protected:
    template <typename T>
    void Update(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        Change();
    }

private:
    // GetIniFileName's path, or nothing when the prefix's folder cannot be told.
    std::optional<std::string> IniFilePath();

    bool alphaCounter_ = false;
    bool common_ = true;
    std::string iniFile_;
    TFxPathPrefix iniPrefix_ = ppWindows;
    std::uint8_t maxEntries_ = 16;
    bool netUser_ = false;
    std::string user_;
    std::string regPath_;
    TFxRegRootKey regRoot_ = rpCurrentUser;
    TFxIniTarget target_ = itAuto;
    TFxIniTarget effectiveTarget_ = itRegistry;
    std::string lastSection_;
};
