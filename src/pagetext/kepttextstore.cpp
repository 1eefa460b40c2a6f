#include "pagetext/kepttextstore.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>

#include <algorithm>
#include <vector>

#include "base/filereplacement.h"
#include "probe/postaddress.h"

namespace {

// A text is kept behind its format's tag, compressed by zlib as qCompress does it. Files of earlier formats read as
// no text: a cache, taken again at the next check.
const QByteArray s_magic = QByteArrayLiteral("PVKT6\n");
const QString s_suffix = QStringLiteral(".ptz");
constexpr qsizetype s_fileNamesKept = 10000;
// No kept text is longer: a file that claims more is damaged, and none is made room for.
constexpr quint64 s_largestText = quint64(KeptTextStore::maximumFileSize) * 8;

QString oneLine(const QString &line)
{
    QString text = line;
    text.replace(u'\n', u' ');
    return text;
}

} // namespace

KeptTextStore::KeptTextStore(const QString &folder)
    : m_folder(folder)
{ }

QString KeptTextStore::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/page-texts");
}

QString KeptTextStore::folderFor(const DataLocation &location)
{
    return location.portable ? QDir(location.path).filePath(QStringLiteral("page-texts")) : defaultFolder();
}

QString KeptTextStore::fileOf(const QString &address) const
{
    {
        const QMutexLocker locker(&m_fileNamesLock);
        const auto found = m_fileNames.constFind(address);
        if (found != m_fileNames.constEnd()) {
            return *found;
        }
    }
    const QByteArray hash
        = QCryptographicHash::hash(PostAddress::identity(address).toUtf8(), QCryptographicHash::Sha256).toHex();
    const QString path = m_folder + u'/' + QString::fromLatin1(hash.left(32)) + s_suffix;
    const QMutexLocker locker(&m_fileNamesLock);
    // Far more than a user has posts; past it the names are made again.
    if (m_fileNames.size() >= s_fileNamesKept) {
        m_fileNames.clear();
    }
    m_fileNames.insert(address, path);
    return path;
}

QByteArray KeptTextStore::encode(const KeptText &text)
{
    // How many noise shapes and following pages, each on a line; the next page; the page's lines.
    QString head = QString::number(text.noise.size()) + u' ' + QString::number(text.following.size()) + u'\n';
    for (const QString &line : text.noise + text.following + QStringList { text.nextPage }) {
        head += oneLine(line) + u'\n';
    }
    // The lines are UTF-8 already, one line each.
    const QByteArray compressed = qCompress(head.toUtf8() + text.lines.text());
    return compressed.isEmpty() ? QByteArray() : s_magic + compressed;
}

std::optional<KeptText> KeptTextStore::decode(const QByteArray &bytes)
{
    if (!bytes.startsWith(s_magic) || bytes.size() < s_magic.size() + 4
        || qFromBigEndian<quint32>(bytes.constData() + s_magic.size()) > s_largestText) {
        return std::nullopt;
    }
    QByteArray payload = qUncompress(
        reinterpret_cast<const uchar *>(bytes.constData()) + s_magic.size(), bytes.size() - s_magic.size());
    if (payload.isEmpty() || !payload.endsWith('\n')) {
        return std::nullopt;
    }
    const QByteArrayView rest(payload);
    const qsizetype countEnd = rest.indexOf('\n');
    const QList<QByteArray> counts = rest.first(countEnd).toByteArray().split(' ');
    bool noiseOk = false;
    bool followingOk = false;
    const qsizetype noiseCount = counts.size() == 2 ? counts[0].toLongLong(&noiseOk) : -1;
    const qsizetype followingCount = counts.size() == 2 ? counts[1].toLongLong(&followingOk) : -1;
    if (!noiseOk || !followingOk || noiseCount < 0 || followingCount < 0 || noiseCount + followingCount >= rest.size()) {
        return std::nullopt;
    }
    QStringList head;
    qsizetype start = countEnd + 1;
    for (; head.size() < noiseCount + followingCount + 1 && start < rest.size(); ++start) {
        const qsizetype end = rest.indexOf('\n', start);
        // Each line as it was, a leading byte-order mark included.
        head.append(TextLines::textOf(rest.sliced(start, end - start)));
        start = end;
    }
    if (head.size() < noiseCount + followingCount + 1) {
        return std::nullopt;
    }
    KeptText text;
    text.noise = head.mid(0, noiseCount);
    text.following = head.mid(noiseCount, followingCount);
    text.nextPage = head.last();
    // The page's lines as they are, in UTF-8.
    QByteArray lines = std::move(payload);
    lines.remove(0, start);
    text.lines = TextLines::fromText(std::move(lines));
    return text;
}

namespace {

// The file's bytes; null when it cannot be read or is larger than limit.
QByteArray wholeFile(const QString &path, qint64 limit)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > limit) {
        return {};
    }
    return file.readAll();
}

} // namespace

std::optional<KeptText> KeptTextStore::read(const QString &address) const
{
    return decode(wholeFile(fileOf(address), maximumFileSize));
}

bool KeptTextStore::ensureFolder() const
{
    QDir dir(m_folder);
    if (!dir.exists() && !dir.mkpath(QStringLiteral("."))) {
        return false;
    }
    return QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

bool KeptTextStore::write(const QString &address, const KeptText &text)
{
    if (!ensureFolder()) {
        return false;
    }
    const QString path = fileOf(address);
    const QByteArray bytes = encode(text);
    if (bytes.isEmpty()) {
        return false;
    }
    const QMutexLocker locker(&m_indexLock);
    scan();
    // A cache: checked to the end like every file, but not worth a disk sync per page.
    if (!replaceFile(path, bytes, { .ownerOnly = true, .synced = false })) {
        return false;
    }
    const QString name = QFileInfo(path).fileName();
    forget(name);
    m_entries.insert(name, { bytes.size(), QDateTime::currentMSecsSinceEpoch(), ++m_sequence });
    m_total += bytes.size();
    trim();
    return true;
}

void KeptTextStore::remove(const QString &address)
{
    const QString path = fileOf(address);
    const QMutexLocker locker(&m_indexLock);
    QFile::remove(path);
    forget(QFileInfo(path).fileName());
}

bool KeptTextStore::clear()
{
    bool cleared = true;
    const QMutexLocker locker(&m_indexLock);
    const QDir dir(m_folder);
    for (const QString &name : dir.entryList({ QStringLiteral("*") + s_suffix }, QDir::Files | QDir::Hidden)) {
        cleared = QFile::remove(dir.filePath(name)) && cleared;
    }
    m_entries.clear();
    m_total = 0;
    m_scanned = false;
    return cleared;
}

qint64 KeptTextStore::totalSize()
{
    const QMutexLocker locker(&m_indexLock);
    scan();
    return m_total;
}

void KeptTextStore::scan()
{
    if (m_scanned) {
        return;
    }
    m_scanned = true;
    m_entries.clear();
    m_total = 0;
    const QDir dir(m_folder);
    for (const QFileInfo &info : dir.entryInfoList({ QStringLiteral("*") + s_suffix }, QDir::Files | QDir::Hidden)) {
        m_entries.insert(info.fileName(), { info.size(), info.lastModified().toMSecsSinceEpoch(), 0 });
        m_total += info.size();
    }
}

void KeptTextStore::forget(const QString &name)
{
    const auto found = m_entries.constFind(name);
    if (found != m_entries.constEnd()) {
        m_total -= found->size;
        m_entries.erase(found);
    }
}

void KeptTextStore::trim()
{
    if (m_total <= m_limit) {
        return;
    }
    std::vector<std::pair<QString, Entry>> byAge;
    byAge.reserve(size_t(m_entries.size()));
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it) {
        byAge.emplace_back(it.key(), it.value());
    }
    std::sort(byAge.begin(), byAge.end(), [](const auto &a, const auto &b) {
        return std::tie(a.second.writtenMs, a.second.sequence) < std::tie(b.second.writtenMs, b.second.sequence);
    });
    const QDir dir(m_folder);
    for (const auto &[name, entry] : byAge) {
        if (m_total <= m_limit) {
            break;
        }
        QFile::remove(dir.filePath(name));
        forget(name);
    }
}
