#include "levelling/ui/level_network_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/catalogue_text.h"
#include "app/ui/field_check.h"
#include "app/ui/option_dialog_registry.h"
#include "levelling/network/level_network_options.h"

namespace tarvosen::ui {

namespace {

[[maybe_unused]] const bool registered =
    RegisterDialogClass<LevelNetworkDialog>(kLevelNetworkDialog);

QString PathText(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

std::filesystem::path TextPath(const QString& text) {
    return std::filesystem::path(text.trimmed().toStdString());
}

// True for a file that exists and can be read (a folder is none).
bool IsReadableFile(const QString& name) {
    const QFileInfo info(name.trimmed());
    return info.isFile() && info.isReadable();
}

// A line edit with a button that chooses an existing file for it.
QWidget* FileRow(QLineEdit* field, const QString& filter) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* browse = new QPushButton("...");
    layout->addWidget(field, 1);
    layout->addWidget(browse);
    QObject::connect(browse, &QPushButton::clicked, field, [field, filter] {
        const QString file = QFileDialog::getOpenFileName(field, QString(), field->text(), filter);
        if (!file.isEmpty()) field->setText(file);
    });
    return row;
}

}  // namespace

LevelNetworkDialog::LevelNetworkDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle("水准网检查与平差");
    files_ = new QListWidget;
    files_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    add_ = new QPushButton("添加文件...");
    remove_ = new QPushButton("移除");
    connect(add_, &QPushButton::clicked, this, &LevelNetworkDialog::addFiles);
    connect(remove_, &QPushButton::clicked, this, [this] { qDeleteAll(files_->selectedItems()); });
    auto* fileButtons = new QVBoxLayout;
    fileButtons->addWidget(add_);
    fileButtons->addWidget(remove_);
    fileButtons->addStretch();
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(files_, 1);
    fileRow->addLayout(fileButtons);

    profile_ = new QComboBox;
    profile_->setEditable(true);  // a profile file may be typed or chosen
    profile_->addItems({"gb12897-1", "gb12897-2", "gb12898-3", "gb12898-4"});
    profileRow_ = new QWidget;
    auto* profileLayout = new QHBoxLayout(profileRow_);
    profileLayout->setContentsMargins(0, 0, 0, 0);
    auto* profileFile = new QPushButton("...");
    profileLayout->addWidget(profile_, 1);
    profileLayout->addWidget(profileFile);
    connect(profileFile, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QString(), QString(),
                                                          "Profile (*.json);;All (*)");
        if (!file.isEmpty()) profile_->setCurrentText(file);
    });

    knownHeights_ = new QLineEdit;
    benchmarks_ = new QLineEdit;
    weights_ = new QComboBox;
    weights_->addItems({"距离 1/K", "测站数 1/n"});

    form_ = new QFormLayout;
    form_->addRow("限差方案", profileRow_);
    knownHeightsRow_ = FileRow(knownHeights_, "Text (*.txt *.csv);;All (*)");
    benchmarksRow_ = FileRow(benchmarks_, "Text (*.txt);;All (*)");
    form_->addRow("已知高程文件", knownHeightsRow_);
    form_->addRow("待定水准点文件", benchmarksRow_);
    form_->addRow("定权", weights_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &LevelNetworkDialog::acceptChecked);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addLayout(form_);
    layout->addWidget(buttons);
    resize(560, 380);
}

void LevelNetworkDialog::acceptChecked() {
    ClearFieldMarks({knownHeights_, benchmarks_, profile_->lineEdit()});
    for (int i = 0; i < files_->count(); ++i) files_->item(i)->setForeground(QBrush());
    for (int i = 0; i < files_->count(); ++i) {
        QListWidgetItem* item = files_->item(i);
        if (IsReadableFile(item->text())) continue;
        // A list entry is marked as a field is: red, selected, its reason shown.
        item->setForeground(QColor(0xd0, 0, 0));
        files_->setCurrentItem(item);
        QMessageBox::critical(this, windowTitle(), cannotRead(item->text()));
        files_->setFocus();
        return;
    }
    // A profile not among the named ones is a file.
    const QString profile = profile_->currentText().trimmed();
    if (!profile.isEmpty() && profile_->findText(profile) < 0 && !IsReadableFile(profile))
        return RefuseField(this, profile_->lineEdit(), cannotRead(profile));
    for (QLineEdit* field : {knownHeights_, benchmarks_})
        if (!field->text().trimmed().isEmpty() && !IsReadableFile(field->text()))
            return RefuseField(this, field, cannotRead(field->text()));
    accept();
}

QString LevelNetworkDialog::cannotRead(const QString& name) const {
    return cannotReadText_.arg(name.trimmed());
}

void LevelNetworkDialog::localise(const CommandContext& ctx) {
    setWindowTitle(CatalogueText(ctx, msg::kLevelNetworkCaption, windowTitle()));
    add_->setText(CatalogueText(ctx, msg::kAddFiles, add_->text()));
    remove_->setText(CatalogueText(ctx, msg::kRemoveFiles, remove_->text()));
    const struct {
        QWidget* field;
        int base;
    } rows[] = {{profileRow_, msg::kToleranceProfileLabel},
                {knownHeightsRow_, msg::kKnownHeightsFileLabel},
                {benchmarksRow_, msg::kBenchmarksFileLabel},
                {weights_, msg::kWeightingLabel}};
    for (const auto& row : rows)
        if (auto* label = qobject_cast<QLabel*>(form_->labelForField(row.field)))
            label->setText(CatalogueText(ctx, row.base, label->text()));
    for (int i = 0; i < weights_->count(); ++i)
        weights_->setItemText(i, CatalogueText(ctx, msg::kWeightingNames + 100 * i, weights_->itemText(i)));
    cannotReadText_ = CatalogueText(ctx, msg::kFileCannotBeRead, cannotReadText_);
}

void LevelNetworkDialog::addFiles() {
    const QStringList chosen = QFileDialog::getOpenFileNames(
        this, "DINI M5", QString(), "DINI M5 (*.dat *.m5 *.DAT *.M5);;All (*)");
    files_->addItems(chosen);
}

void LevelNetworkDialog::showOptions(const LevelNetworkOptions& options) {
    files_->clear();
    for (const auto& f : options.inputFiles) files_->addItem(PathText(f));
    profile_->setCurrentText(QString::fromStdString(options.profile));
    knownHeights_->setText(PathText(options.knownHeightsFile));
    benchmarks_->setText(PathText(options.benchmarksFile));
    weights_->setCurrentIndex(options.weightByStations ? 1 : 0);
}

void LevelNetworkDialog::takeOptions(LevelNetworkOptions& options) const {
    options.inputFiles.clear();
    for (int i = 0; i < files_->count(); ++i) options.inputFiles.push_back(TextPath(files_->item(i)->text()));
    options.profile = profile_->currentText().trimmed().toStdString();
    options.knownHeightsFile = TextPath(knownHeights_->text());
    options.benchmarksFile = TextPath(benchmarks_->text());
    options.weightByStations = weights_->currentIndex() == 1;
}

bool LevelNetworkDialog::run(CommandContext& ctx) {
    localise(ctx);
    showOptions(ctx.options.get<LevelNetworkOptions>());
    if (exec() != QDialog::Accepted) return false;
    takeOptions(ctx.options.get<LevelNetworkOptions>());
    return true;
}

}  // namespace tarvosen::ui
