// The main window driven headless by a test, with US English settings and
// the test's answers to every box.
#pragma once

#include "MemorySettings.h"
#include "ScriptedUi.h"
#include "TestHandheld.h"

#include "app/MainWindow.h"
#include "catalogue/EfiLogWriter.h"
#include "export/LogFile.h"
#include "plot-gui/PlotFile.h"
#include "store/SyncComponent.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace vexa::test {

class TestWindow {
public:
    explicit TestWindow(const SyncComponent &sync)
        : window(sync, ui, QLocale(QLocale::English, QLocale::UnitedStates))
    {
        registerTextLogWriters();
        registerEfiLogWriter();
        registerPlotFileWriters();
        window.setPlotSettings(settings);
    }

    template <typename T = QWidget> T *control(const char *name)
    {
        T *c = window.findChild<T *>(QLatin1String(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QString status() { return control<QLabel>("lblStatus")->text(); }
    QListWidget *list() { return control<QListWidget>("lstSavedData"); }
    QStringList lines()
    {
        QStringList all;
        for (int i = 0; i < list()->count(); ++i)
            all << list()->item(i)->text();
        return all;
    }
    // Enabled state of Select All, Clear All, Save, Delete, Delete All.
    std::vector<bool> logButtons()
    {
        std::vector<bool> enabled;
        for (const char *name :
             {"cmdSelectAll", "cmdClearAll", "cmdSave", "cmdDelete", "cmdDeleteAll"})
            enabled.push_back(control<QPushButton>(name)->isEnabled());
        return enabled;
    }
    // Visibility of Select All, Clear All, Save, Delete, Delete All, Done, Cancel.
    std::vector<bool> buttonsShown()
    {
        std::vector<bool> shown;
        for (const char *name : {"cmdSelectAll", "cmdClearAll", "cmdSave", "cmdDelete",
                                 "cmdDeleteAll", "cmdDone", "cmdCancel"})
            shown.push_back(control<QPushButton>(name)->isVisible());
        return shown;
    }
    void setTab(int tab) { control<QTabWidget>("tabMain")->setCurrentIndex(tab); }
    void select(std::initializer_list<int> lines)
    {
        for (const int line : lines)
            list()->item(line)->setSelected(true);
    }
    void click(const char *button) { QTest::mouseClick(control(button), Qt::LeftButton); }
    void clickLine(int line)
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(list()->item(line)).center());
    }
    QString description() { return control<QPlainTextEdit>("txtDesc")->toPlainText(); }
    // Runs `action` once, when a command running later first shows `text`.
    void onStatus(const QString &text, std::function<void()> action)
    {
        auto *watch = new QTimer(&window);
        QObject::connect(watch, &QTimer::timeout, &window, [this, watch, text, action] {
            if (status() != text)
                return;
            watch->stop();
            action();
        });
        watch->start(0);
    }

    ScriptedUi ui;
    MemorySettings settings;
    MainWindow window;
};

struct HandheldAndSync {
    TestHandheld handheld;
    SyncComponent sync;
};

// A test handheld of its own with the window over it: fill the handheld,
// then start the window.
class DockedWindow : public HandheldAndSync, public TestWindow {
public:
    DockedWindow() : TestWindow(sync) {}
};

} // namespace vexa::test
