// The about window: the program's name and version.
#pragma once

#include <QDialog>

#include "batch/model/main_model.h"

class QLabel;
class QPushButton;

namespace qm {

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    static constexpr int kHelpContext = 70;

    explicit TfrmAbout(QWidget* parent = nullptr);

    QLabel* labName;
    QLabel* labVersion;
    QLabel* labPurpose;
    QPushButton* butOK;
    QPushButton* butHelp;

signals:
    void helpRequested(int context);
};

} // namespace qm
