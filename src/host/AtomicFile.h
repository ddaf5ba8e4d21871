#pragma once

#include <QByteArray>
#include <QString>

class QImage;

// A file written whole or not at all, for every file the program writes for people and other
// programs (spreadsheets, PDFs, bank files, letters). The content goes to a temporary file in the
// target's own folder, is flushed to the disk, and only then takes the target's name: a rename
// within one file system, which replaces the old file in one step. A failure leaves the old file
// as it was, removes the temporary one and says why in the clerk's words (the disk is full,
// permission denied, the disk is read-only), naming the file.
class AtomicFile {
public:
    explicit AtomicFile(const QString& target);
    ~AtomicFile();  // the temporary file goes unless committed
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Writes `content` to `target` this way. Throws SuiteError.
    static void save(const QString& target, const QByteArray& content);
    // A picture as a PNG file, this way. Throws SuiteError.
    static void savePng(const QString& target, const QImage& picture);

    // The temporary file, created empty beside the target, for a writer that wants a path of its
    // own (a spreadsheet library, a printer). Throws SuiteError when it cannot be created.
    QString temporaryPath();
    void write(const QByteArray& content);
    // The writer of temporaryPath() failed: throws SuiteError with the cause, from the writer's
    // `error` (an errno value; 0 when it gave none) or, failing that, from the disk.
    [[noreturn]] void failed(int error) const;
    // The same for a library that leaves errno behind without promising its meaning: only the
    // causes a write can have are taken from it.
    [[noreturn]] void failedWriting(int error) const;
    // Flushes the temporary file to the disk and renames it over the target. Throws SuiteError.
    void commit();

private:
    QString target_;
    QString temporary_;
    bool committed_ = false;
};
