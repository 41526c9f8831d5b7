#include "rules/TavrelRules.h"

#include "platform/device/File.h"
#include "platform/device/FileSystem.h"
#include "platform/device/RunningProgram.h"
#include "rules/TavrelDefaultRules.h"
#include "rules/TavrelRulesFileReader.h"
#include "rules/TavrelRulesFileWriter.h"
#include "rules/TavrelRulesMessageBox.h"
#include "rules/TavrelSystemLanguage.h"

#include <optional>
#include <utility>

namespace {

// An appointment text in upper case, kept on the stack for the usual short subjects and category
// lists so that matching does not allocate.
class UpperText {
public:
    explicit UpperText(const char16_t* text)
    {
        const std::size_t length = device::wideLength(text);
        char16_t* target = m_inline;
        if (length > sizeof m_inline / sizeof m_inline[0]) {
            m_heap.resize(length);
            target = m_heap.data();
        }
        for (std::size_t i = 0; i < length; ++i)
            target[i] = device::foldUpper(text[i]);
        m_view = device::WideView(target, length);
    }
    UpperText(const UpperText&) = delete;
    UpperText& operator=(const UpperText&) = delete;

    device::WideView View() const { return m_view; }

private:
    char16_t m_inline[160];
    device::WideString m_heap;
    device::WideView m_view;
};

bool isFile(const CQoString& path) { return device::FileSystem::isFile(path.View()); }

bool isFolder(const CQoString& path) { return device::FileSystem::isDirectory(path.View()); }

bool exists(const CQoString& path) { return device::FileSystem::exists(path.View()); }

} // namespace

CTavrelRules::CTavrelRules(const char16_t* path) : m_path(path) {}

CTavrelRules::CTavrelRules(const CTavrelRules& other) : m_path(other.GetPath()), m_rules(other.Snapshot()) {}

CTavrelRules& CTavrelRules::operator=(const CTavrelRules& other)
{
    if (this == &other)
        return *this;
    // Copy out under the other list's lock, then swap in under this one's: the two locks are never
    // held together, so two lists copied into each other from two threads cannot deadlock.
    CQoString path = other.GetPath();
    std::vector<CTavrelRule> rules = other.Snapshot();
    device::ScopedLock lock(m_lock);
    m_path = std::move(path);
    m_rules = std::move(rules);
    m_cursor = NoCursor;
    return *this;
}

CTavrelRules::~CTavrelRules() = default;

CQoString CTavrelRules::GetPath() const
{
    device::ScopedLock lock(m_lock);
    return m_path;
}

unsigned CTavrelRules::GetCount() const
{
    device::ScopedLock lock(m_lock);
    return unsigned(m_rules.size());
}

CTavrelRules::Position CTavrelRules::AddTail(const CTavrelRule& rule)
{
    device::ScopedLock lock(m_lock);
    m_rules.push_back(rule);
    return Position(m_rules.size());
}

CTavrelRules::Position CTavrelRules::AddHead(const CTavrelRule& rule)
{
    device::ScopedLock lock(m_lock);
    m_rules.insert(m_rules.begin(), rule);
    if (m_cursor != NoCursor)
        ++m_cursor; // an iteration under way goes on with the rule it was at
    return 1;
}

bool CTavrelRules::Remove(const CTavrelRule& rule)
{
    device::ScopedLock lock(m_lock);
    for (auto it = m_rules.begin(); it != m_rules.end(); ++it) {
        if (*it == rule) {
            m_rules.erase(it);
            m_cursor = NoCursor;
            return true;
        }
    }
    return false;
}

CTavrelRules::Position CTavrelRules::MoveUp(Position position)
{
    device::ScopedLock lock(m_lock);
    if (!IsValid(position))
        return 0;
    if (position == 1)
        return position;
    std::swap(m_rules[position - 1], m_rules[position - 2]);
    return position - 1;
}

CTavrelRules::Position CTavrelRules::MoveDown(Position position)
{
    device::ScopedLock lock(m_lock);
    if (!IsValid(position))
        return 0;
    if (position == m_rules.size())
        return position;
    std::swap(m_rules[position - 1], m_rules[position]);
    return position + 1;
}

void CTavrelRules::RemoveAll()
{
    device::ScopedLock lock(m_lock);
    m_rules.clear();
    m_cursor = NoCursor;
}

const CTavrelRule* CTavrelRules::First()
{
    device::ScopedLock lock(m_lock);
    m_cursor = 0;
    return Next();
}

const CTavrelRule* CTavrelRules::Next()
{
    device::ScopedLock lock(m_lock);
    if (m_cursor >= m_rules.size())
        return nullptr;
    return &m_rules[m_cursor++];
}

CTavrelRules::Position CTavrelRules::GetHeadPosition() const
{
    device::ScopedLock lock(m_lock);
    return m_rules.empty() ? 0 : 1;
}

CTavrelRules::Position CTavrelRules::GetTailPosition() const
{
    device::ScopedLock lock(m_lock);
    return Position(m_rules.size());
}

const CTavrelRule* CTavrelRules::GetAt(Position position) const
{
    device::ScopedLock lock(m_lock);
    return IsValid(position) ? &m_rules[position - 1] : nullptr;
}

bool CTavrelRules::SetAt(Position position, const CTavrelRule& rule)
{
    device::ScopedLock lock(m_lock);
    if (!IsValid(position))
        return false;
    m_rules[position - 1] = rule;
    return true;
}

const CTavrelRule* CTavrelRules::Match(const char16_t* subject, const char16_t* categories, std::int32_t recipients) const
{
    // Upper-cased once for all rules; each rule keeps its own value upper-cased already.
    const UpperText upperSubject(subject);
    const UpperText upperCategories(categories);
    const CTavrelRulePattern::Appointment appointment(upperSubject.View(), upperCategories.View(), recipients);
    device::ScopedLock lock(m_lock);
    for (const CTavrelRule& rule : m_rules) {
        if (rule.Matches(appointment))
            return &rule;
    }
    return nullptr;
}

bool CTavrelRules::MatchIcon(const char16_t* subject, const char16_t* categories, std::int32_t recipients,
                             CQoString& icon) const
{
    device::ScopedLock lock(m_lock);
    const CTavrelRule* rule = Match(subject, categories, recipients);
    if (!rule)
        return false;
    icon = rule->GetIcon();
    return true;
}

bool CTavrelRules::operator==(const CTavrelRules& other) const
{
    if (this == &other)
        return true;
    const std::vector<CTavrelRule> theirs = other.Snapshot();
    device::ScopedLock lock(m_lock);
    return m_rules == theirs;
}

void CTavrelRules::SetFileStepHook(FileStepHook hook)
{
    device::ScopedLock lock(m_lock);
    m_fileStepHook = std::move(hook);
}

CQoString CTavrelRules::GetCompanionPath(const char16_t* path, const char16_t* extension)
{
    const device::WideView text = path ? device::WideView(path) : device::WideView();
    // Only a "." of the file name counts: "\My.Files\Tavrel" has no extension to replace, and
    // its companions must not land in another folder.
    const std::size_t dot = text.rfind(u'.');
    const std::size_t separator = text.find_last_of(u"\\/");
    if (dot == device::WideView::npos || (separator != device::WideView::npos && dot < separator))
        return CQoString(u"");
    device::WideString companion(text.substr(0, dot));
    companion.append(extension ? extension : u"");
    return CQoString(companion.c_str());
}

std::vector<CTavrelRule> CTavrelRules::Snapshot() const
{
    device::ScopedLock lock(m_lock);
    return m_rules;
}

CTavrelRules::StepOutcome CTavrelRules::RunStep(FileStep step) const
{
    return m_fileStepHook ? m_fileStepHook(step) : StepOutcome::Proceed;
}

bool CTavrelRules::Load(const char16_t* path)
{
    const CQoString rulesPath(path ? path : u"");
    LoadResult result;
    bool backupKept = false;
    bool loaded;
    {
        device::ScopedLock lock(m_lock);
        m_rules.clear();
        m_cursor = NoCursor;
        result = LoadFile(rulesPath, backupKept);
        if (result == LoadResult::Missing) {
            CTavrelDefaultRules::AddTo(*this, device::RunningProgram::devicePath(),
                                       CTavrelSystemLanguage::GetDefaultLanguageId());
            loaded = Save(rulesPath);
        } else {
            loaded = result == LoadResult::Loaded;
        }
    }
    // Told after the lock is released: the message box runs a nested message loop, and the
    // reader must not wait on the list meanwhile.
    if (result == LoadResult::RecoveryFailed || backupKept)
        CTavrelRulesMessageBox::Show(RecoveryFailedMessage);
    return loaded;
}

bool CTavrelRules::IsRestorableBackup(const CQoString& backupPath, const CQoString& rulesPath)
{
    device::File file;
    if (!file.open(backupPath.View(), device::File::Read, device::File::Disposition::OpenExisting))
        return false;
    const std::optional<std::int64_t> size = file.size();
    if (!size || std::uint64_t(*size) > CTavrelRulesFileReader::MaxFileSize)
        return false;
    CTavrelRulesFileReader reader;
    std::uint8_t buffer[16 * 1024];
    std::uint64_t total = 0;
    for (;;) {
        const auto count = file.read(buffer, sizeof buffer);
        if (!count)
            return false;
        if (*count == 0)
            break;
        total += *count;
        if (total > CTavrelRulesFileReader::MaxFileSize)
            return false;
        reader.Feed(buffer, *count);
    }
    if (!reader.IsWellFormed())
        return false;
    // An empty backup would say "the rules were an empty list". Beside a rules file that is far
    // more likely a stray or truncated file than the truth, and taking it would empty the rules.
    return !reader.GetRules().empty() || !exists(rulesPath);
}

CTavrelRules::LoadResult CTavrelRules::LoadFile(const CQoString& path, bool& backupKept)
{
    const CQoString backupPath = GetCompanionPath(path, u".BAK");
    if (backupPath.IsEmpty())
        return LoadResult::Failed;

    // A backup on disk means a save stopped after it moved the old rules aside and before it
    // committed the new ones: the backup holds the rules as they were before that save. Unless
    // it is no rules file at all — then it was not left by a save, and putting it over the rules
    // file would lose them: it stays for the user to look at, and the rules file is read as it is.
    if (exists(backupPath)) {
        StepOutcome outcome = RunStep(FileStep::ReadBackup);
        if (outcome == StepOutcome::Stop)
            return LoadResult::Failed;
        if (outcome == StepOutcome::Fail || !IsRestorableBackup(backupPath, path)) {
            backupKept = true;
        } else {
            outcome = RunStep(FileStep::RestoreBackup);
            if (outcome == StepOutcome::Stop)
                return LoadResult::Failed;
            if (outcome == StepOutcome::Fail || !device::FileSystem::copy(backupPath.View(), path.View(), false))
                return LoadResult::RecoveryFailed; // the backup stays for the next start
            // Should the delete fail, the next start restores the same rules once more.
            if (RunStep(FileStep::RemoveRestoredBackup) == StepOutcome::Stop)
                return LoadResult::Failed;
            device::FileSystem::removeFile(backupPath.View());
        }
    }

    const StepOutcome openOutcome = RunStep(FileStep::OpenRules);
    if (openOutcome == StepOutcome::Stop)
        return LoadResult::Failed;
    device::File file;
    if (openOutcome == StepOutcome::Fail ||
        !file.open(path.View(), device::File::Read, device::File::Disposition::OpenExisting)) {
        // Only a file that is not there gets the defaults; one that is there but cannot be read
        // still holds the user's rules and must not be overwritten.
        return exists(path) ? LoadResult::Failed : LoadResult::Missing;
    }
    // Rules are a few kilobytes; a file larger than any that Save writes is not rules, and
    // reading gigabytes of it would hold up the start. It stays as it is.
    const std::optional<std::int64_t> size = file.size();
    if (!size || std::uint64_t(*size) > CTavrelRulesFileReader::MaxFileSize)
        return LoadResult::Failed;

    CTavrelRulesFileReader reader;
    std::uint8_t buffer[16 * 1024];
    std::uint64_t total = 0;
    for (;;) {
        const StepOutcome readOutcome = RunStep(FileStep::ReadRules);
        if (readOutcome != StepOutcome::Proceed)
            return LoadResult::Failed;
        const auto count = file.read(buffer, sizeof buffer);
        if (!count)
            return LoadResult::Failed; // a read error: better no rules than a part of them
        if (*count == 0)
            break;
        total += *count;
        if (total > CTavrelRulesFileReader::MaxFileSize)
            return LoadResult::Failed; // grown while being read
        reader.Feed(buffer, *count);
    }
    m_rules = std::move(reader.GetRules());
    return LoadResult::Loaded;
}

bool CTavrelRules::Reset(const char16_t* path)
{
    const CQoString rulesPath(path ? path : u"");
    const CQoString backupPath = GetCompanionPath(rulesPath, u".BAK");
    if (backupPath.IsEmpty())
        return false;
    // The backup first: should the rules file then stay, the files still say "these rules".
    for (const CQoString* file : {&backupPath, &rulesPath}) {
        if (exists(*file) && (isFolder(*file) || !device::FileSystem::removeFile(file->View())))
            return false;
    }
    return Load(rulesPath);
}

bool CTavrelRules::Save(const char16_t* path)
{
    const CQoString rulesPath(path ? path : u"");
    device::ScopedLock lock(m_lock);
    return SaveFile(rulesPath);
}

bool CTavrelRules::SaveFile(const CQoString& path)
{
    const CQoString temporaryPath = GetCompanionPath(path, u".TMP");
    const CQoString backupPath = GetCompanionPath(path, u".BAK");
    if (temporaryPath.IsEmpty())
        return false;
    // A folder standing at the rules file's or the backup's name is nothing this protocol may
    // move or delete.
    if (isFolder(path) || isFolder(backupPath))
        return false;
    // Refuse before touching any file what the file could not give back as it was.
    if (m_rules.size() > CTavrelRulesFileReader::MaxRules)
        return false;
    for (const CTavrelRule& rule : m_rules) {
        if (!CTavrelRulesFileWriter::CanStore(rule))
            return false;
    }

    auto removeTemporary = [&temporaryPath] { device::FileSystem::removeFile(temporaryPath.View()); };

    // 1. The new rules go to the temporary file, which nothing reads.
    StepOutcome outcome = RunStep(FileStep::CreateTemporary);
    if (outcome == StepOutcome::Stop)
        return false;
    device::File temporary;
    if (outcome == StepOutcome::Fail ||
        !temporary.open(temporaryPath.View(), device::File::Write, device::File::Disposition::CreateAlways))
        return false;
    std::vector<std::uint8_t> line;
    for (const CTavrelRule& rule : m_rules) {
        outcome = RunStep(FileStep::WriteLine);
        if (outcome == StepOutcome::Stop)
            return false;
        line.clear();
        CTavrelRulesFileWriter::AppendLine(rule, line);
        if (outcome == StepOutcome::Fail || temporary.write(line.data(), line.size()) != line.size()) {
            temporary.close();
            removeTemporary();
            return false;
        }
    }
    outcome = RunStep(FileStep::CloseTemporary);
    if (outcome == StepOutcome::Stop)
        return false;
    // On the disk before the rename makes it the rules file.
    const bool flushed = outcome == StepOutcome::Proceed && temporary.flush();
    temporary.close();
    if (!flushed) {
        removeTemporary();
        return false;
    }

    // A file at the backup's name that is no backup (Load left it for the user) is not touched:
    // the new rules replace the rules file in one step, a copy that lands whole or not at all,
    // so the rules file holds the old or the new rules at every moment.
    if (exists(backupPath) && !IsRestorableBackup(backupPath, path)) {
        outcome = RunStep(FileStep::ReplaceRules);
        if (outcome == StepOutcome::Stop)
            return false;
        const bool replaced =
            outcome == StepOutcome::Proceed && device::FileSystem::copy(temporaryPath.View(), path.View(), false);
        outcome = RunStep(FileStep::RemoveTemporary);
        if (outcome == StepOutcome::Stop)
            return false;
        if (outcome == StepOutcome::Proceed)
            removeTemporary();
        return replaced;
    }

    // 2. The old rules move to the backup name. A rename is all-or-nothing, so the backup is never
    //    a half-written copy that the next Load would put over good rules. A backup that is
    //    already there was left by a save that never committed and not yet brought back; it holds
    //    the rules a Load would give now, so it stays, and the rules file beside it is given up.
    outcome = RunStep(FileStep::BackUpRules);
    if (outcome == StepOutcome::Stop)
        return false;
    bool backedUp = outcome == StepOutcome::Proceed;
    if (backedUp) {
        if (exists(backupPath))
            backedUp = !exists(path) || device::FileSystem::removeFile(path.View());
        else if (exists(path))
            backedUp = device::FileSystem::move(path.View(), backupPath.View());
    }
    if (!backedUp) {
        removeTemporary();
        return false;
    }

    // 3. The new rules take the rules file's name. Should that fail, the old rules go back.
    outcome = RunStep(FileStep::ReplaceRules);
    if (outcome == StepOutcome::Stop)
        return false;
    if (outcome == StepOutcome::Fail || !device::FileSystem::move(temporaryPath.View(), path.View())) {
        outcome = RunStep(FileStep::RestoreRules);
        if (outcome == StepOutcome::Stop)
            return false;
        // When this fails too the backup stays, and the next Load brings it back.
        if (outcome == StepOutcome::Proceed && exists(backupPath) && !exists(path))
            device::FileSystem::move(backupPath.View(), path.View());
        removeTemporary();
        return false;
    }

    // 4. Deleting the backup commits the save. A backup that cannot be deleted would bring the
    //    old rules back at the next Load, so the save has not succeeded.
    outcome = RunStep(FileStep::RemoveBackup);
    if (outcome == StepOutcome::Stop)
        return false;
    if (exists(backupPath) && (outcome == StepOutcome::Fail || !device::FileSystem::removeFile(backupPath.View())))
        return false;

    // 5. The temporary file has become the rules file; a leftover one would never be read.
    outcome = RunStep(FileStep::RemoveTemporary);
    if (outcome == StepOutcome::Stop)
        return false;
    if (outcome == StepOutcome::Proceed && isFile(temporaryPath))
        removeTemporary();
    return true;
}
