#include "EditorDocument.h"

#include "shared/ConstStr.h"

namespace pelvo {

void EditorDocument::setCurrent(int index)
{
    m_current = index >= 0 && index < count() ? index : -1;
}

TBlock *EditorDocument::currentBlock()
{
    return m_current >= 0 ? &m_jobs.blocks[std::size_t(m_current)] : nullptr;
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
