#include "config.h"

#include <QFile>
#include <QSaveFile>

QByteArray TConfigRecord::pathBytes() const
{
    const int len = qMin<int>(bytes[2], ConfigPathMax);
    return QByteArray(reinterpret_cast<const char *>(bytes.data() + 3), len);
}

void TConfigRecord::setPathBytes(const QByteArray &path)
{
    const int len = qMin<int>(path.size(), ConfigPathMax);
    bytes[2] = quint8(len);
    for (int i = 0; i < len; ++i)
        bytes[3 + i] = quint8(path[i]);
}

QByteArray TConfigRecord::toBytes() const
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()), ConfigSize);
}

bool parseConfig(const QByteArray &data, TConfigRecord &out)
{
    if (data.size() < ConfigSize)
        return false;
    for (int i = 0; i < ConfigSize; ++i)
        out.bytes[i] = quint8(data[i]);
    return true;
}

bool readConfigFile(const QString &fileName, TConfigRecord &out)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // Only the first record counts; never read more than that.
    const QByteArray data = f.read(ConfigSize);
    return parseConfig(data, out);
}

bool writeConfigFile(const QString &fileName, const TConfigRecord &record)
{
    // Written beside the target and renamed over it only when every byte is on disk. The
    // write is unbuffered so that a full disk shows up as a failed write here: a buffered
    // save file may report success at commit after its final flush failed, leaving an
    // empty file in place of the old one.
    QSaveFile f(fileName);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray data = record.toBytes();
    if (f.write(data) != data.size() || !f.flush() || f.error() != QFileDevice::NoError) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}
