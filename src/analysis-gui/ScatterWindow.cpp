#include "ScatterWindow.h"

#include "core/ChosenFile.h"
#include "export/LogFile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

namespace vexa {

ScatterWindow::ScatterWindow(const QString &logsName, ScatterPoints points, const CellTable &table,
                             UserInterface &ui, QWidget *parent)
    : QWidget(parent, Qt::Window), m_ui(ui)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Scatter - %1").arg(logsName));
    const std::size_t count = points->size();
    m_view = new ScatterView(points, scatterFrame(table.x, table.y, table.value, *points));
    // Digits grouped whatever the user's locale, as a count reads: "12,345".
    m_caption =
        new QLabel((count == 1 ? tr("%1 across, %2 up, coloured by %3: %4 scan")
                               : tr("%1 across, %2 up, coloured by %3: %4 scans"))
                       .arg(QString::fromStdString(table.x), QString::fromStdString(table.y),
                            QString::fromStdString(table.value),
                            QLocale(QLocale::English).toString(qulonglong(count))));
    auto *png = new QPushButton(tr("Save as &PNG..."));
    connect(png, &QPushButton::clicked, this, &ScatterWindow::savePng);
    auto *top = new QHBoxLayout;
    top->addWidget(m_caption, 1);
    top->addWidget(png);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    resize(760, 560);
}

void ScatterWindow::savePng()
{
    saveChosenFile(m_ui, this, tr("Save scatter as..."),
                   {tr("PNG picture (*.png)"), QStringLiteral("*.png")},
                   [this](const QString &path) { writeFileBytes(path, m_view->png()); });
}

} // namespace vexa
