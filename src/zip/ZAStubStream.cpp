#include "ZAStubStream.h"

#include "zip/ZAExcept.h"

#include <QFile>

namespace {

// A self-extracting file is a program: whoever may read it may run it.
void makeRunnable(const QString &fileName)
{
    QFileDevice::Permissions permissions = QFile::permissions(fileName);
    if (permissions & QFileDevice::ReadOwner)
        permissions |= QFileDevice::ExeOwner | QFileDevice::ExeUser;
    if (permissions & QFileDevice::ReadGroup)
        permissions |= QFileDevice::ExeGroup;
    if (permissions & QFileDevice::ReadOther)
        permissions |= QFileDevice::ExeOther;
    QFile::setPermissions(fileName, permissions);
}

} // namespace

TZAStubStream::TZAStubStream(std::unique_ptr<TZAStream> below, const Stub &stub)
    // Below is the layer just given, so the cast cannot miss.
    : TZAStreamLayer(std::move(below))
    , m_layer(static_cast<TZAStream &>(Below()))
{
    QFile file(stub.file);
    if (!file.open(QIODevice::ReadOnly))
        throw EZAException(zaconst::neStubNotFound, stub.senderName, {stub.file});
    if (stub.limit > 0 && file.size() > stub.limit)
        throw EZAException(zaconst::neStubTooLarge, stub.senderName);
    // The stub is written at once, so a refusal names the archive below.
    SetShownName(m_layer.ShownName());
    zastream::truncate(*this, 0);
    KeepTogether(file.size());
    m_stubSize = zastream::CopyTempFileToDest(file, *this, file.size());
    makeRunnable(stub.target);
}

qint64 TZAStubStream::writeData(const char *data, qint64 maxSize)
{
    const qint64 written = TZAStreamLayer::writeData(data, maxSize);
    if (written < maxSize)
        PassFailureUp(m_layer);
    return written;
}
