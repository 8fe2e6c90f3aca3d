#pragma once
// File > Read From Camera: the count of the connected camera, shown in the
// main dialog's rows as a file's is, the file's row naming the camera. With
// several cameras connected, the user picks one; a camera that cannot be read
// is named in a message box with what to do.
#include <QObject>
#include <functional>

#include "select_flow.h"

class QWidget;

class CCameraReader : public QObject {
    Q_OBJECT

public:
    using Show = std::function<void(const frametally::SelectReading&)>;
    CCameraReader(QWidget* dialog, Show show);

    void OnReadFromCamera();

private:
    // The port of the camera to read; empty when there is none or the user
    // chose none.
    QString chooseCamera();

    QWidget* m_dialog;
    Show m_show;
};
