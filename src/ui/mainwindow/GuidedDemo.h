#pragma once

#include "core/demo/DemoScript.h"

#include <QObject>
#include <QPoint>

#include <memory>
#include <optional>

class QShortcut;
class QTimer;

namespace kavlon {

class HintBalloon;
class SourceBox;
class TMainForm;

// The guided tour: the pointer moves over the main window, a balloon says what is
// there, and the program does what the balloon says (connect, open displays, fetch
// and show a shot), then closes everything and goes back to its start state. It
// runs in demonstration mode, so nothing reaches an instrument. Everything happens
// on timers of the user-interface thread; the window stays usable throughout.
class GuidedDemo : public QObject {
    Q_OBJECT
public:
    explicit GuidedDemo(TMainForm& form);
    ~GuidedDemo() override;

    // Starts the tour (asking first when the user's displays are open, which it
    // closes), or ends it at once while it runs.
    void ToolButton17Click();
    // Ends a running tour now, as its last step would: displays closed, no instrument.
    void stop();
    bool running() const;
    // Prepares the move to the current step's target.
    void DoScriptStep();
    void ScrollTimerTimer();
    void DemoTimerTimer();

    // Every interval divided by this (tests run the tour on a fast clock).
    void setTimeDivisor(int divisor);

    const DemoScriptTable& DemoScript() const { return *m_script; }
    int ScriptPosition = 0;
    int ScriptLength = 0;
    bool TutorialHintShown = false;
    QTimer* DemoTimer = nullptr;
    QTimer* ScrollTimer = nullptr;
    HintBalloon* balloon() const { return m_balloon; }

private:
    const DemoStep& step() const { return (*m_script)[std::size_t(ScriptPosition)]; }
    DemoButtonEdges buttonEdges() const;
    QPoint windowPoint(int x, int y) const;
    QPoint targetOf(const DemoStep& step) const;
    std::optional<QPoint> anchorPoint(int stepNo) const;
    void arrive(const QPoint& at);
    void showBalloon(const QPoint& at, const QString& text, int milliseconds, BalloonSide side);
    int scaled(int milliseconds) const;
    void performAction(int action);
    void dropSources(SourceBox* box);
    void pickSource(SourceBox* box);
    void endDemonstration();
    void start();
    void setToolbarHints(bool on);
    bool eventFilter(QObject* watched, QEvent* event) override;

    TMainForm& m_form;
    std::unique_ptr<DemoScriptTable> m_script;
    HintBalloon* m_balloon = nullptr;
    QShortcut* m_escape = nullptr;
    int m_timeDivisor = 1;
    bool m_toolbarHints = true;
    // The glide: where the pointer is on its way, how far each tick takes it, ticks to go.
    double m_glideX = 0;
    double m_glideY = 0;
    double m_stepX = 0;
    double m_stepY = 0;
    int m_ticksLeft = 0;
};

} // namespace kavlon
