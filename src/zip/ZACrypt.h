#pragma once

#include <QByteArray>

#include <cstdint>

// The traditional PKWARE encryption of ZIP entries (weak by today's
// standards; kept for archives that must open in every tool). Decrypting
// serves only to check that an encrypted entry is whole.
class TZACipher {
public:
    explicit TZACipher(const QByteArray &password);

    uint8_t EncryptByte(uint8_t plain);
    void EncryptBuffer(char *data, qsizetype size);
    void DecryptBuffer(char *data, qsizetype size);

    // The 12-byte header that starts an encrypted entry: random bytes, then
    // the two high bytes of the entry's CRC-32 for the password check.
    QByteArray EncryptionHeader(uint32_t crc32);

private:
    void UpdateKeys(uint8_t plain);
    uint8_t DecryptByte() const;

    uint32_t m_keys[3] = {0x12345678, 0x23456789, 0x34567890};
};
