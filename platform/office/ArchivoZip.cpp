#include "platform/office/ArchivoZip.h"

#include <QFile>
#include <zip.h>

namespace plat::office {

namespace {

QString zipError(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString text = QString::fromLocal8Bit(zip_error_strerror(&error));
    zip_error_fini(&error);
    return text;
}

} // namespace

std::optional<ZipEntries> readZip(const QString &path, QString &error)
{
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive) {
        error = zipError(code);
        return std::nullopt;
    }
    ZipEntries entries;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        zip_file_t *file = nullptr;
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
            stat.size > zip_uint64_t(std::numeric_limits<int>::max()) ||
            !(file = zip_fopen_index(archive, zip_uint64_t(i), 0))) {
            error = QString::fromLocal8Bit(zip_strerror(archive));
            zip_discard(archive);
            return std::nullopt;
        }
        QByteArray data(qsizetype(stat.size), Qt::Uninitialized);
        const zip_int64_t read = zip_fread(file, data.data(), stat.size);
        zip_fclose(file);
        if (read != zip_int64_t(stat.size)) {
            error = QStringLiteral("entry %1 cannot be read").arg(QString::fromUtf8(stat.name));
            zip_discard(archive);
            return std::nullopt;
        }
        entries.append({QString::fromUtf8(zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS)), data});
    }
    zip_discard(archive);
    return entries;
}

std::optional<QList<ZipEntryEnds>> readZipEntryEnds(const QString &path, int bytes, QString &error)
{
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code);
    if (!archive) {
        error = zipError(code);
        return std::nullopt;
    }
    QList<ZipEntryEnds> ends;
    QByteArray block(1 << 16, Qt::Uninitialized);
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_file_t *file = zip_fopen_index(archive, zip_uint64_t(i), 0);
        if (!file) {
            error = QString::fromLocal8Bit(zip_strerror(archive));
            zip_discard(archive);
            return std::nullopt;
        }
        ZipEntryEnds entry{QString::fromUtf8(zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS)), {}, {}};
        zip_int64_t read = 0;
        while ((read = zip_fread(file, block.data(), zip_uint64_t(block.size()))) > 0) {
            if (entry.head.size() < bytes)
                entry.head += block.left(qMin<qsizetype>(read, bytes - entry.head.size()));
            entry.tail = read >= bytes ? block.mid(read - bytes, bytes) : (entry.tail + block.left(read)).right(bytes);
        }
        if (read < 0)
            error = entry.name + QStringLiteral(": ") + QString::fromLocal8Bit(zip_file_strerror(file));
        zip_fclose(file);
        if (read < 0) {
            zip_discard(archive);
            return std::nullopt;
        }
        ends.append(entry);
    }
    zip_discard(archive);
    return ends;
}

QString writeZip(const QString &path, const ZipEntries &entries)
{
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive)
        return zipError(code);
    for (const auto &[name, data] : entries) {
        // The bytes are read when the archive closes: the entries outlive it.
        zip_source_t *source = zip_source_buffer(archive, data.constData(), zip_uint64_t(data.size()), 0);
        const zip_int64_t index =
            source ? zip_file_add(archive, name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) : -1;
        if (index < 0 || zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, 0) != 0) {
            if (source && index < 0)
                zip_source_free(source);
            const QString error = QString::fromLocal8Bit(zip_strerror(archive));
            zip_discard(archive);
            return error;
        }
    }
    if (zip_close(archive) != 0) {
        const QString error = QString::fromLocal8Bit(zip_strerror(archive));
        zip_discard(archive);
        return error;
    }
    return {};
}

} // namespace plat::office
