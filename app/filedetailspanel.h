#pragma once
// Beneath the main dialog's controls: the file the shown result belongs to
// (its name, the full path as tooltip), the camera, its serial number, the
// date the picture was taken and the lens; for a count, what it counts, the
// mechanical count and the share of the rated life where there are; for a
// file without a count, why there is none. Laid out in dialog units, like the
// controls above it.
#include <QWidget>

#include "select_flow.h"

class QLabel;

class CFileDetailsPanel : public QWidget {
    Q_OBJECT

public:
    explicit CFileDetailsPanel(QWidget* parent = nullptr);

    void showReading(const frametally::SelectReading& reading);

private:
    // A title and its value beside it, top dialog units down; returns the value.
    QLabel* addRow(const QString& title, const char* name, int top);
    static void setSelectable(QLabel* label);
    // Shows text in label, shortened with an ellipsis where it does not fit;
    // the tooltip then holds it whole, unless tooltip is given.
    static void setValue(QLabel* label, const QString& text, Qt::TextElideMode mode,
                         const QString& tooltip = QString());

    QLabel* m_file = nullptr;
    QLabel* m_camera = nullptr;
    QLabel* m_serialNumber = nullptr;
    QLabel* m_dateTaken = nullptr;
    QLabel* m_lens = nullptr;
    QLabel* m_reasonTitle = nullptr;
    QLabel* m_reason = nullptr;
    QLabel* m_mechanicalTitle = nullptr;
    QLabel* m_mechanical = nullptr;
    QLabel* m_ratedLifeTitle = nullptr;
    QLabel* m_ratedLife = nullptr;
};
