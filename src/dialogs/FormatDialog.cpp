#include "FormatDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vexa {

FormatDialog::FormatDialog(const QString &title, const QList<FormatOffer> &formats, QWidget *parent)
    : QDialog(parent), m_formats(formats)
{
    setWindowTitle(title);
    setObjectName(QStringLiteral("dlgFormat"));
    cboFormat = new QComboBox(this);
    cboFormat->setObjectName(QStringLiteral("cboFormat"));
    for (const FormatOffer &format : formats)
        cboFormat->addItem(format.description);
    auto *optSkip = new QRadioButton(QStringLiteral("Skip files that exist"), this);
    optSkip->setObjectName(QStringLiteral("optSkip"));
    optSkip->setChecked(true); // nothing is lost unless asked for
    optReplace = new QRadioButton(QStringLiteral("Replace them"), this);
    optReplace->setObjectName(QStringLiteral("optReplace"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Format:"), cboFormat);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(optSkip);
    layout->addWidget(optReplace);
    layout->addWidget(buttons);
}

FormatChoice FormatDialog::choice() const
{
    const int row = cboFormat->currentIndex();
    if (row < 0 || row >= m_formats.size())
        return {};
    return {m_formats[row].code, optReplace->isChecked()};
}

} // namespace vexa
