// The format of several logs saved to a folder, and whether files that
// exist are skipped or replaced.
#pragma once

#include "core/UserInterface.h"

#include <QDialog>

class QComboBox;
class QRadioButton;

namespace vexa {

class FormatDialog : public QDialog {
    Q_OBJECT

public:
    FormatDialog(const QString &title, const QList<FormatOffer> &formats, QWidget *parent);
    FormatChoice choice() const;

private:
    QList<FormatOffer> m_formats;
    QComboBox *cboFormat = nullptr;
    QRadioButton *optReplace = nullptr;
};

} // namespace vexa
