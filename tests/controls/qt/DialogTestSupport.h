#pragma once
// Shared fixture for the operator-control tests: a document stand-in (settings,
// live command message, flags, operations) whose SettingsHost forwards the
// refreshes to the real panel and bar, as the document does, and records the
// image clears and repaints. Widgets are driven with synthetic events.

#include "controls/qt/CCtrlPanelDlg.h"
#include "controls/qt/CMiniSettingsBar.h"
#include "controls/qt/CSpinButton.h"
#include "files/Reporter.h"
#include "settings/SettingsRules.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace velmaris::testing {

struct ForwardingHost : SettingsHost {
    void RefreshMiniSettingsBar() override
    {
        ++barRefreshes;
        if (bar != nullptr)
            bar->Refresh();
    }
    bool SettingsPanelExists() const override { return panel != nullptr; }
    void RefreshSettingsPanel() override
    {
        ++panelRefreshes;
        if (panel != nullptr)
            panel->Refresh();
    }
    void ClearImageRaster() override { ++rasterClears; }
    void ClearImageAndHistory() override { ++imageClears; }
    bool IsLinkConnected() const override { return false; }
    void RepaintAllViews() override { ++repaints; }

    CCtrlPanelDlg* panel = nullptr;
    CMiniSettingsBar* bar = nullptr;
    int barRefreshes = 0;
    int panelRefreshes = 0;
    int rasterClears = 0;
    int imageClears = 0;
    int repaints = 0;
};

struct RecordingReporter : Reporter {
    void Report(const std::string& text, MessageIcon icon) override
    {
        messages.push_back(text);
        icons.push_back(icon);
    }
    std::vector<std::string> messages;
    std::vector<MessageIcon> icons;
};

using Bytes = std::array<std::uint8_t, CommandMessage::kSize>;

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings.autoSettings = 0; // manual set-up unless a test turns it on
        InitialiseCommandMessage(message, settings);
        message[CommandMessage::kGain] = settings.gain;
        message[CommandMessage::kFrequency] = settings.frequency;
        message[CommandMessage::kAbsorption] = settings.absorption;
        message[CommandMessage::kPulseLength] = settings.pulseLength;
        MoveModeSettingsIntoCommand(settings, message);
    }

    // Builds both windows after the test has set its starting values.
    void BuildWindows()
    {
        panel = std::make_unique<CCtrlPanelDlg>(settings, message, ops);
        bar = std::make_unique<CMiniSettingsBar>(settings, message, ops);
        host.panel = panel.get();
        host.bar = bar.get();
        // Starting values are shown; what follows is measured from here.
        bar->Refresh();
        panel->Refresh();
        host.imageClears = host.repaints = host.barRefreshes = host.panelRefreshes = 0;
        before = message.Bytes();
    }

    template <class W = QWidget>
    W* PanelChild(const char* name) const
    {
        W* w = panel->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    std::string PanelText(const char* name) const
    {
        return PanelChild<QLineEdit>(name)->text().toStdString();
    }
    std::string BarText(const char* name) const
    {
        return bar->findChild<QLineEdit*>(QString::fromLatin1(name))->text().toStdString();
    }

    // One click on a spin's arrow: press, release.
    static void Click(CSpinButton* spin, int delta)
    {
        ASSERT_NE(spin, nullptr);
        QToolButton* button = delta > 0 ? spin->upButton() : spin->downButton();
        ASSERT_TRUE(button->isEnabled());
        button->click();
    }
    void ClickPanel(const char* spin, int delta) { Click(PanelChild<CSpinButton>(spin), delta); }
    void ClickBar(const char* spin, int delta)
    {
        Click(bar->findChild<CSpinButton*>(QString::fromLatin1(spin)), delta);
    }

    // The command message differs from `before` exactly in the given bytes;
    // `before` then moves on to the current message.
    void ExpectMessageChange(const std::map<std::size_t, int>& changes)
    {
        const Bytes now = message.Bytes();
        for (std::size_t i = 0; i < CommandMessage::kSize; ++i) {
            const auto it = changes.find(i);
            const int expected = it != changes.end() ? it->second : before[i];
            EXPECT_EQ(now[i], expected) << "command byte " << i;
        }
        before = now;
    }

    SonarSettings settings;
    CommandMessage message;
    DocumentFlags flags;
    ForwardingHost host;
    SettingsOperations ops {settings, message, flags, host};
    std::unique_ptr<CCtrlPanelDlg> panel;
    std::unique_ptr<CMiniSettingsBar> bar;
    Bytes before {};
};

inline void TypeText(QWidget* target, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(target, &release);
    }
}

inline void PressKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

} // namespace velmaris::testing
