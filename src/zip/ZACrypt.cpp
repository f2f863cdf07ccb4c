#include "ZACrypt.h"

#include <QRandomGenerator>

#include <zlib.h>

namespace {

uint32_t updateCrc32Byte(uint8_t value, uint32_t crc)
{
    return uint32_t(get_crc_table()[(crc ^ value) & 0xFF]) ^ (crc >> 8);
}

} // namespace

TZACipher::TZACipher(const QByteArray &password)
{
    for (char c : password)
        UpdateKeys(uint8_t(c));
}

void TZACipher::UpdateKeys(uint8_t plain)
{
    m_keys[0] = updateCrc32Byte(plain, m_keys[0]);
    m_keys[1] = (m_keys[1] + (m_keys[0] & 0xFF)) * 134775813u + 1;
    m_keys[2] = updateCrc32Byte(uint8_t(m_keys[1] >> 24), m_keys[2]);
}

uint8_t TZACipher::DecryptByte() const
{
    const uint32_t t = (m_keys[2] & 0xFFFF) | 2;
    return uint8_t((t * (t ^ 1)) >> 8);
}

uint8_t TZACipher::EncryptByte(uint8_t plain)
{
    const uint8_t mask = DecryptByte();
    UpdateKeys(plain);
    return mask ^ plain;
}

void TZACipher::EncryptBuffer(char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(EncryptByte(uint8_t(data[i])));
}

void TZACipher::DecryptBuffer(char *data, qsizetype size)
{
    for (qsizetype i = 0; i < size; ++i) {
        const uint8_t plain = uint8_t(data[i]) ^ DecryptByte();
        UpdateKeys(plain);
        data[i] = char(plain);
    }
}

QByteArray TZACipher::EncryptionHeader(uint32_t crc32)
{
    QByteArray header(12, Qt::Uninitialized);
    for (int i = 0; i < 10; ++i)
        header[i] = char(QRandomGenerator::system()->bounded(256));
    header[10] = char(crc32 >> 16);
    header[11] = char(crc32 >> 24);
    EncryptBuffer(header.data(), header.size());
    return header;
}
