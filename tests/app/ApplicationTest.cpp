// An error that escapes an event handler is shown and the program goes on.
#include "app/Application.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QObject>
#include <QPushButton>
#include <QStringList>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class Failing : public QObject
{
public:
    bool event(QEvent* e) override
    {
        if (e->type() == QEvent::User) {
            throw std::runtime_error("'abc' は整数ではありません");
        }
        return QObject::event(e);
    }
};

QStringList shown;

TEST(Application, AnEscapedErrorIsShownAndEventsGoOn)
{
    auto* app = static_cast<koyomi::app::Application*>(QCoreApplication::instance());
    app->showError = [](const QString& m) { shown.append(m); };
    Failing failing;
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, QStringList({"'abc' は整数ではありません", "'abc' は整数ではありません"}));
}

TEST(Application, QtsOwnButtonsReadInJapanese)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Koyomiplan"), QStringLiteral("?"),
                    QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    koyomi::app::Application app(argc, argv);
    return RUN_ALL_TESTS();
}
