#include "EditorDocument.h"

#include "shared/ConstStr.h"

#include <utility>

namespace pelvo {

void EditorDocument::setCurrent(int index)
{
    m_current = index >= 0 && index < count() ? index : -1;
}

const TBlock *EditorDocument::currentBlock() const
{
    return m_current >= 0 ? &m_jobs.blocks[std::size_t(m_current)] : nullptr;
}

TBlock *EditorDocument::editedBlock()
{
    return const_cast<TBlock *>(std::as_const(*this).currentBlock());
}

QString EditorDocument::currentName() const
{
    return m_current >= 0 ? m_jobs.names.at(m_current) : QString();
}

void EditorDocument::reset(const QString &fileName)
{
    m_fileName = fileName;
    m_jobs = JobList{};
    m_current = -1;
    m_modified = false;
}

bool EditorDocument::read()
{
    std::optional<JobList> read = ReadJobFile(m_fileName);
    reset(m_fileName);
    if (!read)
        return false;
    m_jobs.encoding = read->encoding;
    m_jobs.extraMarks = read->extraMarks;
    if (read->blocks.empty())
        return false;
    m_jobs = std::move(*read);
    m_current = 0;
    return true;
}

QString EditorDocument::save()
{
    const QString error = SaveJobFile(m_fileName, m_jobs);
    if (error.isEmpty())
        m_modified = false;
    return error;
}

void EditorDocument::addJob(const QString &name)
{
    m_jobs.blocks.emplace_back();
    m_jobs.names << name;
    m_current = count() - 1;
    m_modified = true;
}

void EditorDocument::removeCurrent()
{
    if (m_current < 0)
        return;
    m_jobs.blocks.erase(m_jobs.blocks.begin() + m_current);
    m_jobs.names.removeAt(m_current);
    m_current = std::min(m_current, count() - 1);
    m_modified = true;
}

bool EditorDocument::renameCurrent(const QString &name)
{
    if (m_current < 0 || m_jobs.names.at(m_current) == name)
        return false;
    m_jobs.names[m_current] = name;
    m_modified = true;
    return true;
}

QStringList *EditorDocument::lines(Tail list)
{
    TBlock *block = editedBlock();
    if (!block)
        return nullptr;
    switch (list) {
    case Tail::Destinations: return &block->Dests;
    case Tail::ExtraCopies: return &block->ExtCopies;
    case Tail::Commands: return &block->Cmds;
    }
    return nullptr;
}

void EditorDocument::replace(QStringList &lines, int row, const QString &text)
{
    if (row < 0 || row >= lines.size() || lines.at(row) == text)
        return;
    lines[row] = text;
    m_modified = true;
}

void EditorDocument::setText(StrIndex field, const QString &text)
{
    TBlock *block = editedBlock();
    if (!block || block->GetStr(field) == text)
        return;
    block->SetStr(field, text);
    m_modified = true;
}

void EditorDocument::setSource(int row, const QString &source)
{
    if (TBlock *block = editedBlock())
        replace(block->Sources, row, source);
}

void EditorDocument::setExclusions(int row, const QString &exclusions)
{
    if (TBlock *block = editedBlock())
        replace(block->Exclusions, row, exclusions);
}

void EditorDocument::addSource(const QString &source, const QString &exclusions)
{
    TBlock *block = editedBlock();
    if (!block)
        return;
    block->Sources << source;
    block->Exclusions << exclusions;
    m_modified = true;
}

void EditorDocument::removeSource(int row)
{
    TBlock *block = editedBlock();
    if (!block || row < 0 || row >= block->Sources.size())
        return;
    block->Sources.removeAt(row);
    if (row < block->Exclusions.size())
        block->Exclusions.removeAt(row);
    m_modified = true;
}

void EditorDocument::setLine(Tail list, int row, const QString &line)
{
    if (QStringList *edited = lines(list))
        replace(*edited, row, line);
}

void EditorDocument::addLine(Tail list, const QString &line)
{
    if (QStringList *edited = lines(list)) {
        edited->append(line);
        m_modified = true;
    }
}

void EditorDocument::removeLine(Tail list, int row)
{
    QStringList *edited = lines(list);
    if (!edited || row < 0 || row >= edited->size())
        return;
    edited->removeAt(row);
    m_modified = true;
}

EditorDocument::Tentative::Tentative(EditorDocument &document)
    : m_document(document)
    , m_job(document.current())
    , m_modifiedBefore(document.modified())
{
    if (const TBlock *shown = document.currentBlock())
        m_before = *shown;
}

EditorDocument::Tentative::~Tentative()
{
    if (m_kept || !m_before || m_document.current() != m_job)
        return;
    *m_document.editedBlock() = *m_before;
    m_document.m_modified = m_modifiedBefore;
}

void EditorDocument::copyCurrent()
{
    const TBlock *shown = currentBlock();
    if (!shown)
        return;
    TBufferBlock copy;
    static_cast<TBlock &>(copy) = *shown;
    copy.SetBuffer(currentName());
    m_clipboard = std::move(copy);
}

void EditorDocument::paste()
{
    if (!m_clipboard)
        return;
    m_current = std::max(m_current, 0);
    m_jobs.blocks.insert(m_jobs.blocks.begin() + m_current, static_cast<const TBlock &>(*m_clipboard));
    m_jobs.names.insert(m_current, zentavo::sCopyOfJob + u' ' + m_clipboard->GetBuffer());
    m_modified = true;
}

} // namespace pelvo
