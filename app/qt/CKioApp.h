#pragma once
// The application object: builds the machine (real or emulated), the main window and the program
// on it, runs the window until it closes, and tears everything down in order.
#include <QApplication>
#include <QString>
#include <string>

struct LaunchOptions {
    bool demo = false;
    std::string demoModel;  // the emulated interface's model code
    QString demoDataDir;    // where the demo's catalogue and images are written
    QString screenshotDir;  // non-empty: run the scripted screenshot session into it
};

class CKioApp : public QApplication {
    Q_OBJECT
  public:
    CKioApp(int& argc, char** argv);

    // Runs the whole program; returns the process's exit code.
    int InitInstance(const LaunchOptions& options);
};
