#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryFile;

namespace livrax::print {

// Every file the program writes (reports, page images, exports, tax files)
// appears whole or not at all: it is written under a name of its own next to
// the final one, every write and the final flush are checked, its data is
// forced to the disk, and only then is it renamed over the old file in one
// step. A write that fails (a full disk, a file-size limit) or a run that
// stops before the end leaves the old file as it was. Failures throw
// PrintError naming the path and the system's reason.

// A writer that needs a path (a library that opens the file itself): the
// path to write to, then commit() with a check that the writer finished it.
class StagedFile {
  public:
    // Creates a file with a unique name next to `fileName`; throws PrintError.
    explicit StagedFile(const QString& fileName);
    // Without commit() the staged file is removed and the old file stays.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Where the writer writes.
    QString path() const;
    const QString& fileName() const { return m_fileName; }
    // What a complete file ends with ("%%EOF" for a PDF), checked before the
    // rename; empty: no check.
    void setExpectedEnding(const QByteArray& ending) { m_ending = ending; }
    // Syncs the staged file to the disk, checks it and renames it over the
    // final name; throws PrintError.
    void commit();

  private:
    QString m_fileName;
    QByteArray m_ending;
    std::unique_ptr<QTemporaryFile> m_staged;
};

// A writer that writes through a QIODevice (PDF, text): the device to write
// to, then commit(). Every write is checked as it is made; the first failure
// is kept with the system's reason.
class OutputFile {
  public:
    // Opens the file for writing; throws PrintError when it cannot be created.
    explicit OutputFile(const QString& fileName);
    // Without commit() the written data is discarded and the old file stays.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    QIODevice* device();
    const QString& fileName() const { return m_staged.fileName(); }
    // The system's reason for the first write that failed; empty while none did.
    QString writeFailure() const;
    // Checks every write, syncs and renames; throws PrintError.
    void commit();

  private:
    class Device;
    StagedFile m_staged;
    std::unique_ptr<Device> m_device;
};

// The text of a failure to write `fileName`, with the system's reason.
QString WriteFailure(const QString& fileName, const QString& reason);

// Writes lines as a Windows-1252 text file with CR LF line ends, all or
// nothing.
void WriteTextFile(const QString& fileName, const QStringList& lines);

} // namespace livrax::print
