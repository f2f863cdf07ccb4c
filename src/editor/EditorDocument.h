#pragma once

#include "editor/JobFileFormat.h"
#include "editor/PelvoExt.h"

#include <optional>

namespace pelvo {

// The job file the editor works on: its jobs with their names, the file's
// name and encoding, the job shown and whether the jobs differ from the
// file. The window and its pages show it and change it only through its
// edits, each of which marks the change itself, so that no edit can forget
// the "Save changes?" question. The job clipboard is kept here too and
// outlives the file (it survives New and Open).
class EditorDocument {
public:
    class Tentative;

    // "NoName.dat" while a new file has not been saved under a name.
    const QString &fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }
    bool unnamed() const { return m_fileName == NoNameDat; }
    textencoding::Encoding encoding() const { return m_jobs.encoding; }

    const JobList &jobs() const { return m_jobs; }
    const TBlocks &blocks() const { return m_jobs.blocks; }
    const QStringList &names() const { return m_jobs.names; }
    int count() const { return int(m_jobs.blocks.size()); }
    bool empty() const { return m_jobs.blocks.empty(); }

    // The job shown; -1 while there is none.
    int current() const { return m_current; }
    // index is a job's or -1.
    void setCurrent(int index);
    const TBlock *currentBlock() const;
    QString currentName() const;
    bool hasPrevious() const { return m_current > 0; }
    bool hasNext() const { return m_current >= 0 && m_current < count() - 1; }

    bool modified() const { return m_modified; }
    void setModified(bool modified) { m_modified = modified; }

    // A new file under fileName: no job, the encoding of a new file.
    void reset(const QString &fileName);
    // Replaces the jobs with those of the file named; the first one is shown.
    // False when it cannot be read or holds no job: the document is then empty.
    bool read();
    // The first text that keeps the jobs from being written; nothing when all can be.
    std::optional<SaveRefusal> saveRefusal() const { return FindSaveRefusal(m_jobs); }
    // Writes the jobs as they stand in their encoding; an empty string on
    // success (the jobs then match the file), else why not.
    QString save();

    // Appends an empty job and shows it.
    void addJob(const QString &name);
    // Removes the job shown and shows the one now at its place, or the new last one.
    void removeCurrent();
    // False when the name was the job's already.
    bool renameCurrent(const QString &name);

    // The job shown's lines after its sources, edited line by line.
    enum class Tail { Destinations, ExtraCopies, Commands };

    // Edits of the job shown. Each marks the jobs changed when it changes
    // them, and does nothing while no job is shown or at a row the list
    // does not have.
    void setText(StrIndex field, const QString &text);
    void setSource(int row, const QString &source);
    void setExclusions(int row, const QString &exclusions);
    // A source and its exclusions are added and removed together.
    void addSource(const QString &source, const QString &exclusions);
    void removeSource(int row);
    void setLine(Tail list, int row, const QString &line);
    void addLine(Tail list, const QString &line);
    void removeLine(Tail list, int row);

    // Keeps a copy of the job shown, with its name, on the job clipboard.
    void copyCurrent();
    bool canPaste() const { return m_clipboard.has_value(); }
    // Inserts the clipboard's job before the job shown (first when none is)
    // as "Copy of job <name>", and shows it.
    void paste();

private:
    TBlock *editedBlock();
    QStringList *lines(Tail list);
    // Sets the text at row of lines; marks the change when it is one.
    void replace(QStringList &lines, int row, const QString &text);

    QString m_fileName = NoNameDat;
    JobList m_jobs;
    int m_current = -1;
    bool m_modified = false;
    std::optional<TBufferBlock> m_clipboard;
};

// Edits the user may still take back: a line added while the dialog that
// gives its folder or command is open. Unless kept, the job shown and the
// change mark return to what they were when it began.
class EditorDocument::Tentative {
public:
    explicit Tentative(EditorDocument &document);
    ~Tentative();
    Tentative(const Tentative &) = delete;
    Tentative &operator=(const Tentative &) = delete;

    void keep() { m_kept = true; }

private:
    EditorDocument &m_document;
    int m_job;
    std::optional<TBlock> m_before;
    bool m_modifiedBefore;
    bool m_kept = false;
};

} // namespace pelvo
