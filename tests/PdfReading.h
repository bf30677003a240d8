// Reading worksheets back with poppler-utils, as a teacher's PDF viewer or printer would.
#pragma once

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

#include <vector>

namespace koyomi::test {

// A poppler-utils program's standard output.
inline QString poppler(const char* program, const QStringList& args)
{
    QProcess p;
    p.start(QString::fromLatin1(program), args);
    EXPECT_TRUE(p.waitForFinished(60000)) << program;
    EXPECT_EQ(p.exitCode(), 0) << program << " " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Each page of a PDF rendered at `dpi` by pdftoppm, as images named after `prefix`.
inline std::vector<QImage> pagesOf(const QString& pdf, const QString& dpi, const QString& prefix)
{
    poppler("pdftoppm", {"-r", dpi, "-png", pdf, prefix});
    std::vector<QImage> pages;
    const QFileInfo info(prefix);
    for (const QString& name :
         QDir(info.path()).entryList({info.fileName() + "-*.png"}, QDir::Files, QDir::Name)) {
        pages.push_back(QImage(info.path() + "/" + name).convertToFormat(QImage::Format_RGB32));
    }
    return pages;
}

} // namespace koyomi::test
