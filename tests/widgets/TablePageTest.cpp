// Every page built from a field table holds what the core's fields hold after the same
// teacher's actions: each control changed through the control itself, each reset clicked, a
// record read. The family suite checks the core against rules typed out; this checks the
// controls against the core, for every figure.
#include "widgets/TablePage.h"
#include "figures/Figures.h"
#include "figures/Record.h"
#include "tools/FigureTable.h"
#include "widgets/HeadlessHost.h"
#include "widgets/ResetButton.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include <memory>

using namespace koyomi;
using figures::FieldKind;

namespace {

void expectSame(const figures::Fields& page, const figures::Fields& core, const char* after)
{
    for (int f = 0; f < core.count(); ++f) {
        EXPECT_EQ(figures::valueText(page, f), figures::valueText(core, f))
            << core.field(f).name << " after " << after;
    }
}

// Changes field f through its own control, as a teacher does, and the same in the core.
void changeBoth(widgets::TablePage& page, figures::FieldValues& core, int f)
{
    const figures::Field& d = core.field(f);
    QWidget* control = page.findChild<QWidget*>(QString::fromLatin1(d.name));
    ASSERT_NE(control, nullptr) << d.name;
    switch (d.kind) {
    case FieldKind::Spin: {
        const QString text = QString::number(core.value(f) < d.maximum ? d.maximum : d.minimum);
        static_cast<widgets::SpinEdit*>(control)->setText(QString());
        static_cast<widgets::SpinEdit*>(control)->setText(text);
        core.setText(f, QString());
        core.setText(f, text);
        break;
    }
    case FieldKind::Text:
        static_cast<QLineEdit*>(control)->setText(QStringLiteral("cm"));
        core.setText(f, QStringLiteral("cm"));
        break;
    case FieldKind::Labels:
        static_cast<QPlainTextEdit*>(control)->setPlainText(QStringLiteral("1,2"));
        core.setText(f, QStringLiteral("1,2"));
        break;
    case FieldKind::Check:
        static_cast<QCheckBox*>(control)->toggle();
        core.setIndex(f, 1 - core.index(f));
        break;
    default: {
        auto* combo = static_cast<QComboBox*>(control);
        const int index = figures::itemCount(d) - 1 - (core.index(f) == 1);
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        core.setIndex(f, index);
        figures::runChoice(core, f);
        break;
    }
    }
}

} // namespace

TEST(TablePages, ControlsHoldWhatTheCoreHoldsAfterEveryChangeResetAndRecord)
{
    for (int kind = 0; kind < figures::kFigureCount; ++kind) {
        const figures::Figure& figure = figures::figureTable()[std::size_t(kind)];
        if (!figure.fields) {
            continue;
        }
        SCOPED_TRACE(figure.caption);
        widgets::HeadlessHost host(64, 48);
        widgets::Redrawer redrawer([](int) {});
        std::unique_ptr<widgets::FigurePage> made(
            tools::pageMakers()[std::size_t(kind)](kind, host, redrawer, nullptr));
        auto* page = dynamic_cast<widgets::TablePage*>(made.get());
        ASSERT_NE(page, nullptr);
        figures::FieldValues core(*figure.fields, false);
        expectSame(*page, core, "nothing");
        for (int f = 0; f < core.count(); ++f) {
            changeBoth(*page, core, f);
            expectSame(*page, core, core.field(f).name);
        }
        EXPECT_EQ(page->recordFields(), figures::recordValues(core));
        const QStringList changed = figures::recordValues(core);

        host.white = true;
        for (std::size_t r = 0; r < figure.fields->resets.size(); ++r) {
            const char* name = figure.fields->resets[r];
            auto* triangle = page->findChild<widgets::ResetButton*>(QString::fromLatin1(name));
            ASSERT_NE(triangle, nullptr) << name;
            triangle->click();
            figures::resetPanel(core, int(r) + 1, true);
            expectSame(*page, core, name);
        }

        // Read as the library reads it: the line split into its items.
        const QStringList read =
            figures::parseRecord(figures::recordLine(kind, QStringLiteral("A"), false, changed))
                ->values;
        page->applyRecordFields(read);
        figures::applyRecordValues(core, read);
        expectSame(*page, core, "reading the record");
        EXPECT_EQ(page->recordFields(), figures::recordValues(core));
    }
}
