// The running program: its identity, the help system with its window, and the main window.
#pragma once

#include "app/Main_Unit.h"
#include "windows/ProgramHelp.h"

// Names the application; needs the QApplication to exist.
void setProgramIdentity();

// What main() creates before the event loop: the help system, the main window (whose creation runs
// the start-up sequence) and the help window; show() puts the main window on the screen.
class Program {
public:
    Program();
    void show() { m_form.show(); }
    TMainForm& form() { return m_form; }

private:
    ProgramHelp m_help;
    TMainForm m_form;
};
