#pragma once
// The configuration file "Vastara.cfg": one fixed 209-byte record.
//   0      HintsOn (0/1)
//   1      LanguageIndex when written (0..3)
//   2..202 language file path: a length byte (0..200) then up to 200 bytes
//   203..206 default language: Italian, English, French, fourth (0/1)
//   207..208 reserved, written back as they were read
#include <QByteArray>
#include <QString>
#include <array>

constexpr int ConfigSize = 209;
constexpr int ConfigPathMax = 200;
constexpr const char *ConfigFileName = "Vastara.cfg";

struct TConfigRecord {
    std::array<quint8, ConfigSize> bytes{};

    bool hintsOn() const { return bytes[0] != 0; }
    quint8 language() const { return bytes[1]; }
    // The stored path bytes (at most 200, whatever the length byte says).
    QByteArray pathBytes() const;
    void setPathBytes(const QByteArray &path);
    bool defaultFlag(int i) const { return bytes[203 + i] != 0; }

    QByteArray toBytes() const;
};

// Decodes a record from file contents. A file shorter than one record is refused; bytes
// past the first record are ignored.
bool parseConfig(const QByteArray &data, TConfigRecord &out);

// Reads the record from a file; false when it cannot be opened or is too short.
bool readConfigFile(const QString &fileName, TConfigRecord &out);

// Writes the record so that a failed or interrupted write leaves the previous file whole.
bool writeConfigFile(const QString &fileName, const TConfigRecord &record);
