#pragma once
// CQoRegistry: one open key of the device registry, with reads that fall back to a default and
// write that default back, so a setting that has once been read is visible in the registry.
//
// The object owns its handle and closes it when destroyed; it is meant to live on the stack of
// the function that reads or writes settings. An object whose key could not be opened answers
// every read with the default and every write with false.

#include "common/QoString.h"
#include "platform/registry/Registry.h"

#include <cstdint>

// The handheld's names for the key handle and the two hives.
using registry::HKEY;
using registry::HKEY_CURRENT_USER;
using registry::HKEY_LOCAL_MACHINE;

class CQoRegistry {
public:
    // A number default of this value is returned as is but never written back.
    static constexpr std::uint32_t NoWriteBack = 0xDEF0;
    // Enumerated names are read into buffers of this many characters.
    static constexpr unsigned NameBufferLength = 260;

    // Opens `subKey` below `parent`; with `create`, creates the missing levels and records
    // whether the key was new (GetDisposition).
    CQoRegistry(HKEY parent, const char16_t* subKey, bool create);
    // A second, independent handle to the other object's key (or no key when it has none).
    CQoRegistry(const CQoRegistry& other);
    CQoRegistry& operator=(const CQoRegistry&) = delete;
    virtual ~CQoRegistry();

    bool IsOpen() const { return m_key != nullptr; }
    HKEY GetKey() const { return m_key; }
    // REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY after a creating construction, else 0.
    std::uint32_t GetDisposition() const { return m_disposition; }

    bool Close();

    std::uint32_t GetDWORD(const char16_t* name, std::uint32_t defaultValue);
    bool SetDWORD(const char16_t* name, std::uint32_t value);
    CQoString GetString(const char16_t* name, const char16_t* defaultValue);
    bool SetString(const char16_t* name, const char16_t* text);
    // Reads a value into `buffer` (`*size` bytes); `*size` becomes the stored size. With no
    // buffer only the size is read.
    bool GetBinary(const char16_t* name, void* buffer, std::uint32_t* size);
    bool SetBinary(const char16_t* name, const void* bytes, std::uint32_t size);
    bool ValueExists(const char16_t* name);
    bool DeleteValue(const char16_t* name);

    bool SubKeyExists(const char16_t* path);
    // Deletes the subkey with everything below it.
    bool DeleteSubKey(const char16_t* path);

    // Enumeration keeps one position for subkeys and value names alike. A name that cannot be
    // read (past the end, or an error) gives false and an empty name.
    bool GetFirstSubKey(CQoString& name);
    bool GetNextSubKey(CQoString& name);
    bool GetSubKeyAt(CQoString& name, unsigned index);
    bool GetFirstValueName(CQoString& name);
    bool GetNextValueName(CQoString& name);

private:
    static bool DeleteSubKey(HKEY parent, const char16_t* path);
    bool ReadSubKeyName(CQoString& name);
    bool ReadValueName(CQoString& name);

    HKEY m_key = nullptr;
    std::uint32_t m_disposition = 0;
    unsigned m_enumIndex = 0;
    // The subkey path the copy constructor opens below the other object's key. Construction from
    // a parent leaves it empty, so a copy is another handle to the same key.
    CQoString m_name;
};
