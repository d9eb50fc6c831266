#pragma once
// A scripted demo session that drives the real widgets and saves screenshots of the main states:
// no interface, connected and identified, search results, install in progress, install finished
// and a failed install. Used by scripts/screenshots; it quits the application when done.
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

class CKioDlg;
class DemoMachine;
class QWidget;

class ScriptedSession : public QObject {
    Q_OBJECT
  public:
    ScriptedSession(CKioDlg& window, DemoMachine& machine, QWidget& controls, QString outputDir);

    void Start();
    // 0 when every screenshot was taken, 1 when a step timed out.
    int ExitCode() const { return exitCode_; }

  private:
    struct Step {
        QString what;
        std::function<bool()> ready;
        std::function<void()> action;
        int timeoutMs = 60000;
    };
    void Tick();
    void Save(const QString& name);
    void AnswerOpenMessageBox();
    void ClickResultRow(int row);
    bool After(int ms) const { return stepClock_.elapsed() >= ms; }

    CKioDlg& window_;
    DemoMachine& machine_;
    QWidget& controls_;
    QString outputDir_;
    std::vector<Step> steps_;
    std::size_t current_ = 0;
    QTimer poll_;
    QElapsedTimer stepClock_;
    int exitCode_ = 0;
};
