#include "print/output_file.h"

#include "common/line_files.h"
#include "print/print_surface.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace livrax::print {

using namespace Qt::StringLiterals;

namespace {

QString SystemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Forces the file's data to the disk; the reason when that failed.
QString SyncFailure(int handle) {
    if (::fsync(handle) == 0) return {};
    return SystemReason(errno);
}

} // namespace

QString WriteFailure(const QString& fileName, const QString& reason) {
    QString text = u"Não foi possível gravar o arquivo "_s + fileName;
    if (!reason.isEmpty()) text += u": "_s + reason;
    return text;
}

StagedFile::StagedFile(const QString& fileName)
    : m_fileName(fileName),
      m_staged(std::make_unique<QTemporaryFile>(fileName + u".XXXXXX.tmp"_s)) {
    if (!m_staged->open())
        throw PrintError(u"Não foi possível criar o arquivo "_s + fileName + u": "_s +
                         m_staged->errorString());
    // The finished file gets the old file's permissions, or the usual ones.
    const QFileInfo old(fileName);
    m_staged->setPermissions(old.exists() ? old.permissions()
                                          : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ReadGroup | QFileDevice::ReadOther);
    m_staged->close();
}

StagedFile::~StagedFile() = default; // QTemporaryFile removes an uncommitted file

QString StagedFile::path() const {
    return m_staged->fileName();
}

void StagedFile::commit() {
    const QByteArray staged = QFile::encodeName(path());
    QString failure;
    const int handle = ::open(staged.constData(), O_RDONLY | O_CLOEXEC);
    if (handle < 0) {
        failure = SystemReason(errno);
    } else {
        failure = SyncFailure(handle);
        const off_t size = ::lseek(handle, 0, SEEK_END);
        if (failure.isEmpty() && size <= 0) failure = u"o arquivo ficou vazio"_s;
        if (failure.isEmpty() && !m_ending.isEmpty()) {
            // A complete file ends with its closing mark, give or take a line end.
            const qsizetype tail = m_ending.size() + 2;
            QByteArray last(tail, '\0');
            const off_t from = std::max<off_t>(0, size - tail);
            const ssize_t read = ::pread(handle, last.data(), size_t(tail), from);
            last.truncate(std::max<ssize_t>(0, read));
            if (!last.contains(m_ending)) failure = u"o arquivo ficou incompleto"_s;
        }
        ::close(handle);
    }
    if (failure.isEmpty() && std::rename(staged.constData(), QFile::encodeName(m_fileName)) != 0)
        failure = SystemReason(errno);
    if (!failure.isEmpty()) throw PrintError(WriteFailure(m_fileName, failure));
    m_staged->setAutoRemove(false); // it is the final file now
}

// The staged file as a device: plain writes to its descriptor, each one
// checked, the first failure kept with the system's reason.
class OutputFile::Device : public QIODevice {
  public:
    explicit Device(const QString& path) {
        m_handle = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        if (m_handle < 0)
            failure = SystemReason(errno);
        else
            QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    ~Device() override {
        if (m_handle >= 0) ::close(m_handle);
    }
    // Syncs and closes the file; the first failure of the device's life.
    QString finish() {
        if (failure.isEmpty() && m_handle >= 0) failure = SyncFailure(m_handle);
        if (m_handle >= 0 && ::close(m_handle) != 0 && failure.isEmpty())
            failure = SystemReason(errno);
        m_handle = -1;
        QIODevice::close();
        return failure;
    }
    bool isSequential() const override { return false; }
    bool seek(qint64 position) override {
        if (m_handle < 0 || ::lseek(m_handle, off_t(position), SEEK_SET) < 0) return false;
        return QIODevice::seek(position);
    }

    QString failure;

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override {
        if (!failure.isEmpty()) return -1;
        qint64 done = 0;
        while (done < length) {
            const ssize_t n = ::write(m_handle, data + done, size_t(length - done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                failure = n < 0 ? SystemReason(errno) : SystemReason(ENOSPC);
                setErrorString(failure);
                return -1;
            }
            done += n;
        }
        return done;
    }

  private:
    int m_handle = -1;
};

OutputFile::OutputFile(const QString& fileName)
    : m_staged(fileName), m_device(std::make_unique<Device>(m_staged.path())) {
    if (!m_device->failure.isEmpty())
        throw PrintError(u"Não foi possível criar o arquivo "_s + fileName + u": "_s +
                         m_device->failure);
}

OutputFile::~OutputFile() = default; // the staged file goes with it

QIODevice* OutputFile::device() {
    return m_device.get();
}

QString OutputFile::writeFailure() const {
    return m_device->failure;
}

void OutputFile::commit() {
    const QString failure = m_device->finish();
    if (!failure.isEmpty()) throw PrintError(WriteFailure(fileName(), failure));
    m_staged.commit();
}

void WriteTextFile(const QString& fileName, const QStringList& lines) {
    OutputFile file(fileName);
    file.device()->write(EncodeWindowsLines(lines));
    file.commit();
}

} // namespace livrax::print
