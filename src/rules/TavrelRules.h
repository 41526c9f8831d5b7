#pragma once
// CTavrelRules: the ordered list of icon rules, its matching, and its rules file.
//
// The program keeps one list (a member of the application object), loaded from
// "\My Documents\Tavrel.Rules" at start. The reader thread matches every appointment against it;
// the rules dialog edits a copy, which is saved and then replaces the program's list.
//
// Locking: every operation takes the list's own re-entrant lock for its whole run. Pointers that
// First, Next, GetAt and Match hand out point into the list and stay valid only while nobody
// changes it, which the application's rules lock guarantees for its callers; MatchIcon copies the
// icon out instead.
//
// Positions are 1-based indexes in evaluation order, 0 meaning none, as in CQoStringList. The
// rules sit in one contiguous array because matching walks all of them for every appointment.
//
// The rules file and its companions (path up to the file name's last "." plus ".TMP" or ".BAK"):
// Save writes the new rules to the temporary file, moves the rules file aside to the backup name,
// moves the temporary file into place and only then deletes the backup. Load first brings back a
// backup it finds (a save was cut off) over the rules file, then reads. Every file operation of a
// save is a rename or a delete, never a copy that could be cut off half-way, so a save that stops
// at any point leaves either the old rules (restored from the backup by the next Load) or the new
// ones; README.md in this folder walks through each step.

#include "common/QoString.h"
#include "platform/device/CriticalSection.h"
#include "rules/TavrelRule.h"

#include <cstdint>
#include <functional>
#include <vector>

class CTavrelRules {
public:
    using Position = unsigned;

    static constexpr const char16_t* DefaultPath = u"\\My Documents\\Tavrel.Rules";
    static constexpr const char16_t* RecoveryFailedMessage =
        u"There was an error recovering the rules file from a previous automatic backup.  "
        u"Please visit the Tavrel support page at www.orvix.com/support for help.";

    // The file operations of Load and Save, in the order they happen. A test hook sees each one
    // before it runs and can let it go ahead, make it fail as the file system would, or stop the
    // whole operation right there, leaving the files as a process that died at that moment would.
    enum class FileStep {
        ReadBackup,           // Load: read the backup, to see whether it is a rules file at all
        RestoreBackup,        // Load: copy the backup over the rules file
        RemoveRestoredBackup, // Load: delete the backup once it is back in place
        OpenRules,            // Load: open the rules file for reading
        ReadRules,            // Load: read the rules file (once per piece read)
        CreateTemporary,      // Save: create the temporary file
        WriteLine,            // Save: write one rule's line to it (once per rule)
        CloseTemporary,       // Save: flush the temporary file to the disk and close it
        BackUpRules,          // Save: move the rules file to the backup name
        ReplaceRules,         // Save: move the temporary file to the rules file's name
        RestoreRules,         // Save, after a failed replace: move the backup back
        RemoveBackup,         // Save: delete the backup; from here on the new rules stand
        RemoveTemporary,      // Save: delete what is left of the temporary file
    };
    enum class StepOutcome { Proceed, Fail, Stop };
    using FileStepHook = std::function<StepOutcome(FileStep)>;

    explicit CTavrelRules(const char16_t* path = nullptr);
    // Copies hold copies of the other's rules and its path; the cursor starts over and the test
    // hook is not copied.
    CTavrelRules(const CTavrelRules& other);
    CTavrelRules& operator=(const CTavrelRules& other);
    virtual ~CTavrelRules();

    // The file the list was built for.
    CQoString GetPath() const;

    unsigned GetCount() const;
    bool IsEmpty() const { return GetCount() == 0; }

    // Both add a copy and return its position.
    Position AddTail(const CTavrelRule& rule);
    Position AddHead(const CTavrelRule& rule);
    // Removes the first rule equal to `rule`; the cursor starts over.
    bool Remove(const CTavrelRule& rule);
    // Swap the rule with its neighbour and return its new position (the same one at the end of
    // the list; 0 for a position that holds no rule).
    Position MoveUp(Position position);
    Position MoveDown(Position position);
    void RemoveAll();

    // Iteration in evaluation order; nullptr after the last rule.
    const CTavrelRule* First();
    const CTavrelRule* Next();

    Position GetHeadPosition() const;
    Position GetTailPosition() const;
    const CTavrelRule* GetAt(Position position) const;
    bool SetAt(Position position, const CTavrelRule& rule);

    // The first rule whose test the appointment passes, or nullptr. Letter case is ignored;
    // `categories` is the appointment's category list as one text ("Business, Meeting").
    const CTavrelRule* Match(const char16_t* subject, const char16_t* categories, std::int32_t recipients) const;
    // The same, copying the matched rule's icon; false when no rule matches.
    bool MatchIcon(const char16_t* subject, const char16_t* categories, std::int32_t recipients,
                   CQoString& icon) const;

    // Replaces the list with the rules of the file; see the notes above. A missing file gets the
    // default rules, which are saved to it. Fails, with an empty list, when the path has no
    // extension, when a backup cannot be brought back (the user is told), when the file exists
    // but cannot be read (it is kept as it is, never replaced by defaults) and when it is larger
    // than any rules file (CTavrelRulesFileReader::MaxFileSize; it is not read and left alone).
    // A backup is brought back only when it reads as a rules file; one that does not (empty
    // beside a rules file, damaged, not a file) is left where it is for the user, the rules file
    // is loaded as it stands, and the user is told as when a recovery fails.
    bool Load(const char16_t* path);
    // Writes the list to the file; see the notes above. Fails, leaving the files as they were,
    // when a rule cannot be stored (CTavrelRulesFileWriter::CanStore), when there are more rules
    // than a rules file may hold, or when any step of the file protocol fails.
    bool Save(const char16_t* path);
    // Starts the file over with the default rules ("&Defaults" of the rules dialog): deletes a
    // backup a cut-off save left (the next Load would bring its old rules back over the defaults)
    // and the rules file, then Loads, which builds the defaults and saves them. Fails with the
    // list and the files as they were when a file cannot be deleted; fails with the list holding
    // the defaults when they cannot be saved.
    bool Reset(const char16_t* path);

    // The same rules in the same order (the path does not count).
    bool operator==(const CTavrelRules& other) const;
    bool operator!=(const CTavrelRules& other) const { return !(*this == other); }

    void SetFileStepHook(FileStepHook hook);

    // The path up to the last "." of its file name followed by `extension`
    // ("\My Documents\Tavrel.Rules", ".BAK" -> "\My Documents\Tavrel.BAK"); empty when the file
    // name has no ".".
    static CQoString GetCompanionPath(const char16_t* path, const char16_t* extension);

private:
    enum class LoadResult { Loaded, Failed, RecoveryFailed, Missing };

    // `backupKept` tells that a backup was found that is no rules file and was left alone.
    LoadResult LoadFile(const CQoString& path, bool& backupKept);
    // Whether the backup beside the rules file holds rules to bring back: it reads as a whole
    // rules file, and it is not empty unless there is no rules file it would replace.
    static bool IsRestorableBackup(const CQoString& backupPath, const CQoString& rulesPath);
    bool SaveFile(const CQoString& path);
    StepOutcome RunStep(FileStep step) const;
    std::vector<CTavrelRule> Snapshot() const;
    bool IsValid(Position position) const { return position >= 1 && position <= m_rules.size(); }

    static constexpr std::size_t NoCursor = static_cast<std::size_t>(-1);

    mutable device::CriticalSection m_lock;
    CQoString m_path;
    std::size_t m_cursor = NoCursor; // index of the rule Next returns; NoCursor before First
    std::vector<CTavrelRule> m_rules;
    FileStepHook m_fileStepHook;
};
