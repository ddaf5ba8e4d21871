// The attachment store as a person meets it: only ordinary files of a bounded size are taken,
// without ever waiting on a pipe or reading a device; the copies opened for viewing are the
// user's alone and go with the store.
#include "AttachmentDesk.h"
#include "DatabaseAttachmentStore.h"
#include "DemoDatabase.h"
#include "DemoGenerator.h"
#include "Recordset.h"
#include "SchemaInstaller.h"
#include "ScriptedLogService.h"
#include "Value.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

class AttachmentStoreTest : public ::testing::TestWithParam<TestEngine> {};
INSTANTIATE_ON_ENGINES(AttachmentStoreTest);

TEST_P(AttachmentStoreTest, OnlyOrdinaryFilesAreTakenAndOpenedCopiesArePrivateAndGo) {
    REQUIRE_ENGINE(GetParam());
    DemoDatabase demo(GetParam(), 2);
    auto c = demo.connection;
    auto desk = std::make_shared<ScriptedAttachmentDesk>();
    auto log = std::make_shared<ScriptedLogService>();
    auto store = std::make_unique<DatabaseAttachmentStore>(desk, log);
    store->setConnection(c);
    QString created;
    store->AfterMediaCreate = [&](const QString& id) { created = id; };
    const auto stored = [&] {
        Recordset rs;
        rs.Open(QStringLiteral("SELECT COUNT(*) FROM KV05_ALLEGATI"), c);
        return Value::toInt(rs.Fields(0).Value());
    };

    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("coda"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString large = dir.filePath(QStringLiteral("grande.bin"));
    {
        QFile f(large);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(DatabaseAttachmentStore::kMaxFileBytes + 1));
    }
    // A pipe nobody writes to would block a read for ever; a device is read until memory runs out.
    for (const QString& refused : {pipe, QStringLiteral("/dev/zero"), dir.path(), large}) {
        SCOPED_TRACE(refused.toStdString());
        log->clear();
        desk->files = {refused};
        store->ManageMedia(QString(), AttachmentStore::New, {});
        ASSERT_EQ(log->messages().size(), 1);
        EXPECT_TRUE(log->messages().front().text.contains(QStringLiteral("nessun allegato aggiunto")))
            << log->messages().front().text.toStdString();
    }
    EXPECT_EQ(stored(), 0);
    EXPECT_TRUE(created.isEmpty());

    const QString letter = dir.filePath(QStringLiteral("lettera.txt"));
    {
        QFile f(letter);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Spett.le ditta, Più € Ω\n");
    }
    desk->files = {letter};
    store->ManageMedia(QString(), AttachmentStore::New, {});
    ASSERT_FALSE(created.isEmpty());
    EXPECT_EQ(stored(), 1);
    store->ManageMedia(created, AttachmentStore::Open, {});
    ASSERT_EQ(desk->opened.size(), 1);
    const QFileInfo copy(desk->opened.front());
    EXPECT_TRUE(copy.absoluteFilePath().startsWith(DatabaseAttachmentStore::copiesFolder()));
    // Nobody but the user reads the copy, or lists the folders it is in.
    const QFileDevice::Permissions others =
        QFileDevice::ReadGroup | QFileDevice::ReadOther | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    for (const QString& path :
         {copy.absoluteFilePath(), copy.absolutePath(), DatabaseAttachmentStore::copiesFolder()})
        EXPECT_EQ(QFileInfo(path).permissions() & others, QFileDevice::Permissions()) << path.toStdString();
    QFile read(copy.absoluteFilePath());
    ASSERT_TRUE(read.open(QIODevice::ReadOnly));
    EXPECT_EQ(read.readAll(), QByteArray("Spett.le ditta, Più € Ω\n"));

    store.reset();
    EXPECT_FALSE(QFileInfo::exists(copy.absoluteFilePath())) << "the copy goes with the store";
}
