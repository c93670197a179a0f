// SPDX-License-Identifier: MIT
#include "src/ui/curves_window.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <string>
#include <vector>

#include "src/model/curve_edits.h"
#include "src/ui/curves_picture.h"
#include "src/ui/curves_plot.h"
#include "src/ui/curves_table_model.h"
#include "src/ui/message_boxes.h"
#include "src/ui/picture_paths.h"

namespace kestrova {

namespace {

QIcon swatch(std::size_t curve) {
    QPixmap pixmap(12, 12);
    pixmap.fill(curveColour(curve));
    return QIcon(pixmap);
}

QPushButton* namedButton(const QString& text, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setAccessibleName(name);
    return button;
}

QComboBox* stepCombo(const QString& name, int selected, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    for (std::size_t step = 0; step < kStepCount; ++step) {
        combo->addItem(QString::number(step));
    }
    combo->setCurrentIndex(selected);
    combo->setAccessibleName(name);
    return combo;
}

CurveChoice allCurves(bool chosen) {
    CurveChoice choice{};
    choice.fill(chosen);
    return choice;
}

}  // namespace

CurvesWindow::CurvesWindow(QWidget* parent, PicturePaths* injectedPaths,
                           MessageBoxes* injectedBoxes)
    : QWidget(parent, Qt::Window),
      ownPaths(injectedPaths ? nullptr : std::make_unique<QtPicturePaths>()),
      ownBoxes(injectedBoxes ? nullptr : std::make_unique<QtMessageBoxes>()),
      paths(injectedPaths ? *injectedPaths : *ownPaths),
      boxes(injectedBoxes ? *injectedBoxes : *ownBoxes) {
    setWindowTitle(tr("Curves"));
    setAccessibleName(tr("Curves"));

    plotView = new CurvesPlot(this);
    model = new CurvesTableModel(this);
    table = new QTableView(this);
    table->setModel(model);
    table->setAccessibleName(tr("Points"));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->setMaximumHeight(160);
    hoverText = new QLabel(this);
    hoverText->setAccessibleName(tr("Point under the pointer"));

    auto* right = new QVBoxLayout;
    right->addWidget(plotView, 1);
    right->addWidget(hoverText);
    right->addWidget(table);
    right->addWidget(buildActionRow());
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildChoicePane());
    layout->addLayout(right, 1);

    connect(plotView, &CurvesPlot::pageEdited, this, &CurvesWindow::onEdited);
    connect(plotView, &CurvesPlot::previewed, model, &CurvesTableModel::setPage);
    connect(plotView, &CurvesPlot::stepChosen, this, &CurvesWindow::stepChosen);
    connect(plotView, &CurvesPlot::hovered, hoverText, &QLabel::setText);
    // The keyboard's way to a point: its cell in the table, then the arrow keys on the plot.
    connect(table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& cell) {
                if (cell.isValid()) {
                    plotView->selectPoint(CurvePoint{model->curveAt(cell.row()),
                                                     static_cast<std::size_t>(cell.column())});
                }
            });
    fillList();
    choose(allCurves(true));
}

CurvesWindow::~CurvesWindow() = default;

QWidget* CurvesWindow::buildChoicePane() {
    auto* pane = new QWidget(this);
    list = new QListWidget(pane);
    list->setAccessibleName(tr("Curves to show"));
    auto* all = namedButton(tr("All"), tr("Show all curves"), pane);
    auto* none = namedButton(tr("None"), tr("Show no curve"), pane);
    connect(all, &QPushButton::clicked, this, [this] { choose(allCurves(true)); });
    connect(none, &QPushButton::clicked, this, [this] { choose(allCurves(false)); });
    connect(list, &QListWidget::itemChanged, this, &CurvesWindow::onListChanged);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(all);
    buttons->addWidget(none);
    groupButtons = new QVBoxLayout;
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    layout->addLayout(groupButtons);
    return pane;
}

QWidget* CurvesWindow::buildActionRow() {
    auto* row = new QWidget(this);
    fromStep = stepCombo(tr("Interpolate from step"), 0, row);
    toStep = stepCombo(tr("Interpolate to step"), static_cast<int>(kStepCount) - 1, row);
    auto* interpolate = namedButton(tr("Interpolate"), tr("Interpolate"), row);
    interpolate->setToolTip(tr("Fill the steps between the two with straight lines"));
    auto* save = namedButton(tr("Save Picture..."), tr("Save Picture"), row);
    if (!svgPicturesAvailable()) {
        save->setToolTip(tr("PNG only: this build has no SVG writer"));
    }
    connect(interpolate, &QPushButton::clicked, this, &CurvesWindow::onInterpolate);
    connect(save, &QPushButton::clicked, this, &CurvesWindow::onSavePicture);

    auto* fromLabel = new QLabel(tr("From step"), row);
    fromLabel->setBuddy(fromStep);
    auto* toLabel = new QLabel(tr("to"), row);
    toLabel->setBuddy(toStep);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{fromLabel, fromStep, toLabel, toStep, interpolate}) {
        layout->addWidget(widget);
    }
    layout->addStretch(1);
    layout->addWidget(save);
    return row;
}

void CurvesWindow::fillList() {
    const QSignalBlocker quiet(list);
    const CurveChoice choice = plotView->chosen();
    list->clear();
    for (std::size_t curve = 0; curve < kStepLineSize; ++curve) {
        auto* item = new QListWidgetItem(swatch(curve), curveLabel(curve, profile), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(choice[curve] ? Qt::Checked : Qt::Unchecked);
    }
}

void CurvesWindow::rebuildGroupButtons() {
    while (QLayoutItem* item = groupButtons->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (!profile) {
        return;
    }
    std::vector<std::string> groups;
    for (const MotorProfile& motor : profile->motors) {
        if (!motor.group.empty() && std::ranges::find(groups, motor.group) == groups.end()) {
            groups.push_back(motor.group);
        }
    }
    for (const std::string& group : groups) {
        const QString text = QString::fromStdString(group);
        auto* button = namedButton(text, tr("Show group %1").arg(text), this);
        connect(button, &QPushButton::clicked, this, [this, group] {
            CurveChoice choice{};
            for (std::size_t motor = 0; motor < kMotorCount; ++motor) {
                choice[motor] = profile->motors[motor].group == group;
            }
            choose(choice);
        });
        groupButtons->addWidget(button);
    }
}

void CurvesWindow::choose(const CurveChoice& choice) {
    {
        const QSignalBlocker quiet(list);
        for (std::size_t curve = 0; curve < kStepLineSize; ++curve) {
            list->item(static_cast<int>(curve))
                ->setCheckState(choice[curve] ? Qt::Checked : Qt::Unchecked);
        }
    }
    plotView->setChosen(choice);
    model->setChosen(choice);
}

void CurvesWindow::onListChanged() {
    CurveChoice choice{};
    for (std::size_t curve = 0; curve < kStepLineSize; ++curve) {
        choice[curve] = list->item(static_cast<int>(curve))->checkState() == Qt::Checked;
    }
    choose(choice);
}

void CurvesWindow::showPage(const PageRecord& page, int step) {
    plotView->showPage(page, static_cast<std::size_t>(step));
    model->setPage(page);
}

void CurvesWindow::setProfile(const OptionalProfile& newProfile) {
    profile = newProfile;
    plotView->setProfile(profile);
    model->setProfile(profile);
    fillList();
    rebuildGroupButtons();
}

void CurvesWindow::onEdited(const PageRecord& page, const QString& label) {
    model->setPage(page);
    emit pageEdited(page, label);
}

void CurvesWindow::onInterpolate() {
    std::vector<std::size_t> curves;
    for (std::size_t curve = 0; curve < kStepLineSize; ++curve) {
        if (plotView->chosen()[curve]) {
            curves.push_back(curve);
        }
    }
    const PageRecord& before = plotView->page();
    const PageRecord after =
        interpolate(before, curves, static_cast<std::size_t>(fromStep->currentIndex()),
                    static_cast<std::size_t>(toStep->currentIndex()));
    if (after == before) {
        QApplication::beep();  // no step between the two, or already a straight line
        return;
    }
    showPage(after, static_cast<int>(plotView->chosenStep()));
    emit pageEdited(after, tr("Interpolate"));
}

bool CurvesWindow::savePicture(const QString& path) {
    // For sharing: without the STEP highlight and the selection, which belong to the editing.
    return writeCurvesPicture(
        path, plotView->size(),
        {plotView->page(), kStepCount, plotView->chosen(), std::nullopt, profile});
}

void CurvesWindow::onSavePicture() {
    if (const auto path = paths.choosePicturePath(this); path && !savePicture(*path)) {
        boxes.show({tr("can't save file!"), tr("error"), MessageIcon::None, this});
    }
}

}  // namespace kestrova
