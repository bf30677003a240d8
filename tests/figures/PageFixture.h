// A figure page inside a Draw tool whose presentation window is a HeadlessHost, with the
// page's controls found by their names.
#pragma once

#include "state/AppState.h"
#include "state/SettingsFile.h"
#include "tools/TForm2.h"
#include "widgets/HeadlessHost.h"
#include "widgets/SpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace koyomi::test {

template <class Page, int Kind> class PageFixture : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    state::AppState state;
    widgets::HeadlessHost host{400, 300};
    std::unique_ptr<tools::TForm2> form;
    Page* page = nullptr;

    void SetUp() override
    {
        state.SettingsBase = state::settingsBaseFor(dir.path(), "koyomiplan");
        state.showError = [](const QString&) {};
        form = std::make_unique<tools::TForm2>(state, host);
        host.pages = &form->pages();
        page = dynamic_cast<Page*>(form->pages()[Kind]);
        ASSERT_NE(page, nullptr);
        host.drawn.clear();
    }

    widgets::SpinEdit* spin(int n)
    {
        return page->template findChild<widgets::SpinEdit*>(QStringLiteral("SpinEdit%1").arg(n));
    }
    QComboBox* combo(int n)
    {
        return page->template findChild<QComboBox*>(QStringLiteral("ComboBox%1").arg(n));
    }
    QCheckBox* check(int n)
    {
        return page->template findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n));
    }
    // What a teacher's choice in a selector does.
    void choose(int comboNumber, int index)
    {
        QComboBox* c = combo(comboNumber);
        c->setCurrentIndex(index);
        emit c->activated(index);
    }
    QString record(const QString& name = "A") { return form->recordOf(Kind, name); }
};

} // namespace koyomi::test
