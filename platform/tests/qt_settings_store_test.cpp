// What only the QSettings store has: its file, its failures, and the
// Windows-1252 conversion it relies on.
#include "platform/gui/qt_settings_store.h"
#include "platform/gui/windows1252_text.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace korv::platform {
namespace {

QByteArray read_file(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool write_file(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(Windows1252Text, EveryByteConvertsBothWaysAndTheDegreeSignIsNotLatin1Only) {
    std::string every_byte;
    for (int byte = 0; byte < 256; ++byte) every_byte += static_cast<char>(byte);
    const QString text = qstring_from_windows1252(every_byte);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text.at(0xB0), QChar(0x00B0));
    EXPECT_EQ(text.at(0x80), QChar(0x20AC));  // Latin-1 would give U+0080
    EXPECT_EQ(text.at(0x9F), QChar(0x0178));
    EXPECT_EQ(windows1252_from_qstring(text), every_byte);
}

QString utf16(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()), qsizetype(text.size()));
}

TEST(Windows1252Text, RefusesTextTheCodePageCannotHold) {
    EXPECT_EQ(windows1252_from_qstring(QString::fromUtf8("\u4e2d")), std::nullopt);
    // Anywhere in the text; surrogates alone or paired, except as below.
    for (std::u16string_view text : {u"\u0080a", u"a\u0100", u"a\u20ADb", u"\uFEFF", u"\uFFFD"}) {
        EXPECT_EQ(windows1252_from_qstring(utf16(text)), std::nullopt);
    }
    const std::u16string surrogates[] = {{0xD800, u'a'}, {u'a', 0xDC00}, {0xD83D, 0xDE00}, {0xD800, 0xD800}};
    for (const std::u16string& text : surrogates) EXPECT_EQ(windows1252_from_qstring(utf16(text)), std::nullopt);
}

// As in Qt's codec, which waits for the low half that never comes.
TEST(Windows1252Text, AHighSurrogateEndingTheTextIsDropped) {
    EXPECT_EQ(windows1252_from_qstring(utf16(std::u16string{u'a', u'b', 0xDBFF})), "ab");
    EXPECT_EQ(windows1252_from_qstring(utf16(std::u16string{0xD800})), "");
}

TEST(QtSettingsStore, KeepsItsFileUnderOrganisationAndApplication) {
    QTemporaryDir folder;
    const QtSettingsStore vxmlog("Calderis", "VXMlog", folder.path());
    const QtSettingsStore ergomark(ergomark_settings.organisation, ergomark_settings.application, folder.path());
    EXPECT_EQ(vxmlog.file_name(), folder.filePath("Calderis/VXMlog.ini"));
    EXPECT_EQ(ergomark.file_name(), folder.filePath("Ergomark/Ergomark.ini"));
    // Without a folder: the user's own configuration folder.
    const QtSettingsStore users("Calderis", "VXMlog");
    EXPECT_TRUE(users.file_name().endsWith("/Calderis/VXMlog.ini")) << users.file_name().toStdString();
}

TEST(QtSettingsStore, FileShowsADwordAsUnsignedDecimal) {
    QTemporaryDir folder;
    QString path;
    {
        QtSettingsStore store("Ergomark", "Ergomark", folder.path());
        path = store.file_name();
        ASSERT_TRUE(store.write_dword({}, "Gain", 0xFFFFFFFFu));
        ASSERT_TRUE(store.write_dword({"Settings"}, "Port", 3));
    }  // the destructor flushes
    const QByteArray ini = read_file(path);
    EXPECT_TRUE(ini.contains("Gain=4294967295\n")) << ini.toStdString();
    EXPECT_TRUE(ini.contains("[Settings]\nPort=3\n")) << ini.toStdString();
    EXPECT_FALSE(ini.contains("-1")) << ini.toStdString();
}

TEST(QtSettingsStore, ReadsAHandWrittenFileAndIgnoresWhatItCannotType) {
    QTemporaryDir folder;
    const QString path = folder.filePath("hand.ini");
    ASSERT_TRUE(write_file(path,
                           "[Settings]\nPort=2\nTitle=sz:Run\nList=a, b\nWord=abc\n"
                           "[DataDescriptions\\Engine%20Speed]\nMax=8000\n"));
    const QtSettingsStore store(path);
    EXPECT_EQ(store.read_dword({"Settings"}, "Port"), 2u);
    EXPECT_EQ(store.read_string({"Settings"}, "Title"), "Run");
    EXPECT_EQ(store.read_string({"Settings"}, "List"), std::nullopt);
    EXPECT_EQ(store.read_dword({"Settings"}, "Word"), std::nullopt);
    EXPECT_EQ(store.read_string({"Settings"}, "Word"), std::nullopt);
    EXPECT_EQ(store.read_dword({"DataDescriptions", "Engine Speed"}, "Max"), 8000u);
}

TEST(QtSettingsStore, AFailedFlushIsReportedAndLaterWritesFail) {
    QTemporaryDir folder;
    // A folder that cannot be made, even by root: its parent is a file.
    ASSERT_TRUE(write_file(folder.filePath("blocker"), "x"));
    QtSettingsStore store(folder.filePath("blocker/settings.ini"));
    EXPECT_TRUE(store.write_dword({"Settings"}, "Port", 1));
    EXPECT_FALSE(store.flush());
    EXPECT_FALSE(store.write_dword({"Settings"}, "Port", 2));
    EXPECT_FALSE(store.create_key({"State"}));
}

}  // namespace
}  // namespace korv::platform
