#pragma once

#include <QFrame>

// The BSO form constructor page of the main window.
class TFrameConstructor : public QFrame {
    Q_OBJECT
public:
    explicit TFrameConstructor(QWidget* parent = nullptr);
    // Copies the form table and the configuration into the controls.
    void Fill();
    // The current BSO group from the last state query, or 0 when unknown.
    void setCurrentGroup(int group);
};
