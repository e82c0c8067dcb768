// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/frmMain.h"

#include "core/ShownText.h"
#include "core/Version.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmCheck.h"
#include "dialogs/frmModelDialog.h"
#include "dialogs/frmOpen.h"
#include "dialogs/frmOptions.h"
#include "editing/ChatPage.h"
#include "editing/CheckCommands.h"
#include "editing/FunName.h"
#include "editing/ModelCommands.h"
#include "editor/ChatEditor.h"
#include "editor/FunNamePreview.h"
#include "editor/IconImages.h"
#include "editor/ParameterPages.h"
#include "engine/EnginePrograms.h"
#include "engine/TryFindings.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <thread>

namespace twl {

namespace {

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

QGroupBox* Frame(const QString& caption, QWidget* inside, QWidget* parent)
{
    auto* frame = new QGroupBox(caption, parent);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addWidget(inside);
    return frame;
}

// The platform's keys for a standard command; `fallback` where it has none.
QList<QKeySequence> KeysFor(QKeySequence::StandardKey standard, const QKeySequence& fallback)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(standard);
    if (keys.isEmpty()) {
        keys << fallback;
    }
    return keys;
}

// A name of the bot or of an edit shown in a menu caption: "&" stays "&".
QString InCaption(const std::string& text)
{
    return QString::fromStdString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

frmMain::frmMain(std::filesystem::path settingsFolder,
                 Messages& messages,
                 std::mt19937 random,
                 QWidget* parent)
    : QMainWindow(parent)
    , m_editor(std::move(settingsFolder), messages, random)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(Caption());

    m_editor.Start();
    BuildMenus();

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->addWidget(BuildGeneralProperties(), 0);
    m_pages = new ParameterPages(m_editor, central);
    layout->addWidget(m_pages, 1);
    m_chatPage = new ChatEditor(m_editor, m_pages->ChatFrame());
    m_pages->ChatFrame()->layout()->addWidget(m_chatPage);
    setCentralWidget(central);

    auto* nextTab = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), this);
    nextTab->setContext(Qt::WindowShortcut);
    connect(nextTab, &QShortcut::activated, m_pages, &ParameterPages::SelectNextTab);

    m_editor.OnChange = [this](ShowAgain show) {
        ShowChange(show);
    };
    FillBotDataToForm();

    if (QScreen* screen = this->screen()) {
        QRect area = screen->availableGeometry();
        QSize size = sizeHint().boundedTo(area.size());
        resize(size);
        move(area.center() - QPoint(size.width() / 2, size.height() / 2));
    }
    m_built = true;
}

QString frmMain::Caption()
{
    // The caption shows the version as the program always has: "0.97".
    return QStringLiteral("Tarnwell %1.%2%3 BETA")
        .arg(VersionMajor)
        .arg(VersionMinor)
        .arg(VersionRevision);
}

QMenu* frmMain::AddMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QMenu* frmMain::AddSubmenu(QMenu* parent, const char* name, const QString& caption)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* frmMain::AddAction(QMenu* menu, const char* name, const QString& caption, bool enabled)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(enabled);
    return action;
}

void frmMain::BuildMenus()
{
    QMenuBar* bar = menuBar();

    QMenu* program = AddMenu(bar, "mTarnwell", QStringLiteral("&Program"));
    connect(AddAction(program, "mnuOptions", QStringLiteral("&Options"), true),
            &QAction::triggered,
            this,
            &frmMain::ShowOptions);
    QAction* about = AddAction(program, "mnuAbout", QStringLiteral("&About Tarnwell"), true);
    program->addSeparator()->setObjectName(QStringLiteral("mnuSeparator1"));
    QAction* exitAction = AddAction(program, "mnuExit", QStringLiteral("E&xit"), true);
    connect(about, &QAction::triggered, this, &frmMain::ShowAbout);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    QMenu* bots = AddMenu(bar, "mnuBot", QStringLiteral("&Bots"));
    QMenu* newBot = AddSubmenu(bots, "mnuNew", QStringLiteral("&New bot"));
    connect(AddAction(newBot, "mnuNewZero", QStringLiteral("All &zeros"), true),
            &QAction::triggered,
            this,
            &frmMain::CreateZeroBot);
    connect(AddAction(newBot, "mnuNewAverage", QStringLiteral("&Average"), true),
            &QAction::triggered,
            this,
            &frmMain::CreateAverageBot);
    connect(AddAction(newBot, "mnuNewRandom", QStringLiteral("&Random"), true),
            &QAction::triggered,
            this,
            &frmMain::CreateRandomBot);
    connect(AddAction(bots, "mnuLoad", QStringLiteral("&Load bot"), true),
            &QAction::triggered,
            this,
            &frmMain::LoadBot);
    connect(AddAction(bots, "mnuMake", QStringLiteral("&Make bot files"), true),
            &QAction::triggered,
            this,
            &frmMain::MakeBotFiles);

    // Undo and redo of every change of the bot, named for the change.
    QMenu* edit = AddMenu(bar, "mnuEdit", QStringLiteral("&Edit"));
    m_undo = AddAction(edit, "mnuUndo", QStringLiteral("&Undo"), false);
    m_undo->setShortcut(QKeySequence::Undo);
    connect(m_undo, &QAction::triggered, this, [this] { m_editor.Undo(); });
    m_redo = AddAction(edit, "mnuRedo", QStringLiteral("&Redo"), false);
    m_redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(m_redo, &QAction::triggered, this, [this] { m_editor.Redo(); });

    QMenu* files = AddMenu(bar, "mnuFile", QStringLiteral("&Files"));

    const struct
    {
        const char* Name;
        const char* Caption;
        LoadType Purpose;
    } singleFiles[] = {
        {"mnuCharFile", "Load &char file", LoadType::CharFile},
        {"mnuWeaponFile", "Load &weapon file", LoadType::WeaponFile},
        {"mnuitemFile", "Load &item file", LoadType::ItemFile},
        {"mnuChatFile", "Load c&hat file", LoadType::ChatFile},
    };

    for (const auto& file : singleFiles) {
        LoadType purpose = file.Purpose;
        connect(AddAction(files, file.Name, QString::fromLatin1(file.Caption), true),
                &QAction::triggered,
                this,
                [this, purpose] { ShowOpenSaveForm(purpose); });
    }

    QMenu* tools = AddMenu(bar, "mnTool", QStringLiteral("&Tools"));
    connect(AddAction(tools, "mnuCheck", QStringLiteral("Check &baseq3"), true),
            &QAction::triggered,
            this,
            &frmMain::CheckBaseq3);
    connect(AddAction(tools, "mnuCheckBot", QStringLiteral("&Check bot"), true),
            &QAction::triggered,
            this,
            &frmMain::CheckBot);
    QAction* tryInGame = AddAction(tools, "mnuTryInGame", QStringLiteral("Try in &game"), true);
    connect(tryInGame, &QAction::triggered, this, [this] { TryInGame(false); });
    connect(AddAction(tools, "mnuTryInMatch", QStringLiteral("Try in a &match"), true),
            &QAction::triggered,
            this,
            [this] { TryInGame(true); });
    QMenu* list = AddSubmenu(tools, "mnuList", QStringLiteral("Model/&skin list"));
    connect(AddAction(list, "mnuModelAdd", QStringLiteral("Add &model"), true),
            &QAction::triggered,
            this,
            &frmMain::mnuModelAdd_Click);
    connect(AddAction(list, "mnuSkinAdd", QStringLiteral("Add &skin"), true),
            &QAction::triggered,
            this,
            [this] {
                ModelSelection current = Selection();
                if (AddSkin(m_editor, current)) {
                    FillModelAndSkin(current.Model, current.Skin);
                }
            });
    connect(AddAction(list, "mnuModelRemove", QStringLiteral("R&emove model"), true),
            &QAction::triggered,
            this,
            [this] {
                if (std::optional<ModelSelection> next = RemoveModel(m_editor, Selection())) {
                    FillModelAndSkin(next->Model, next->Skin);
                }
            });
    connect(AddAction(list, "mnuSkinRemove", QStringLiteral("Rem&ove skin"), true),
            &QAction::triggered,
            this,
            [this] {
                if (std::optional<ModelSelection> next = RemoveSkin(m_editor, Selection())) {
                    FillModelAndSkin(next->Model, next->Skin);
                }
            });
    QMenu* chatTools = AddSubmenu(tools, "mnuChatTools", QStringLiteral("C&hat tools"));
    connect(AddAction(chatTools, "mnuExtraChat", QStringLiteral("Add &extra chats"), true),
            &QAction::triggered,
            this,
            [this] {
                m_chatPage->AddExtraChats();
                ShowStatusNote();
            });
    connect(AddAction(chatTools, "mnuDeleteChats", QStringLiteral("&Delete all chats"), true),
            &QAction::triggered,
            this,
            [this] { m_chatPage->DeleteAllChats(); });
    connect(AddAction(chatTools, "mnuSyn", QStringLiteral("Add s&ynonym"), true),
            &QAction::triggered,
            this,
            [this] { AddSynonymToList(m_editor); });

    // The everyday commands' keys: the platform's own where it has them.
    const struct
    {
        const char* Name;
        QKeySequence::StandardKey Standard;
        QKeySequence Fallback;
    } keys[] = {
        {"mnuOptions", QKeySequence::Preferences, QKeySequence(Qt::CTRL | Qt::Key_Comma)},
        {"mnuExit", QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"mnuNewZero", QKeySequence::New, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"mnuLoad", QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuMake", QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuCheckBot", QKeySequence::UnknownKey, QKeySequence(Qt::Key_F7)},
        {"mnuTryInGame", QKeySequence::UnknownKey, QKeySequence(Qt::Key_F5)},
        {"mnuTryInMatch", QKeySequence::UnknownKey, QKeySequence(Qt::SHIFT | Qt::Key_F5)},
    };

    for (const auto& key : keys) {
        if (auto* action = findChild<QAction*>(QString::fromLatin1(key.Name))) {
            action->setShortcuts(KeysFor(key.Standard, key.Fallback));
        }
    }
}

QLineEdit* frmMain::AddTextBox(int index)
{
    auto* box = new QLineEdit();
    box->setObjectName(QStringLiteral("txtBotPara_") + QString::number(index));
    box->installEventFilter(this);
    connect(box, &QLineEdit::textEdited, this, [this] { m_editor.TextEdited(); });
    m_textBoxes[index] = box;
    return box;
}

QWidget* frmMain::BuildGeneralProperties()
{
    auto* column = new QWidget(this);
    column->setObjectName(QStringLiteral("fraGeneral"));
    auto* grid = new QGridLayout(column);
    grid->setContentsMargins(0, 0, 0, 0);

    grid->addWidget(Frame(QStringLiteral("Name"), AddTextBox(Para::Name), column), 0, 0, 1, 2);

    auto* genders = new QWidget(column);
    auto* genderLayout = new QHBoxLayout(genders);
    genderLayout->setContentsMargins(0, 0, 0, 0);
    m_gender = new QButtonGroup(this);
    const char* const genderCaptions[] = {"Male", "Female", "It"};
    for (int option = 0; option < 3; ++option) {
        auto* button = new QRadioButton(QString::fromLatin1(genderCaptions[option]), genders);
        button->setObjectName(QStringLiteral("opGender_") + QString::number(option));
        m_gender->addButton(button, option);
        genderLayout->addWidget(button);
    }
    connect(m_gender, &QButtonGroup::idClicked, this, [this](int option) {
        m_editor.SetGender(option);
    });
    grid->addWidget(Frame(QStringLiteral("Gender"), genders, column), 1, 0, 1, 2);

    m_models = new QComboBox(column);
    m_models->setObjectName(QStringLiteral("cmbModel"));
    m_models->setMinimumContentsLength(10);
    m_modelFrame = Frame(QStringLiteral("Model"), m_models, column);
    m_modelFrame->setObjectName(QStringLiteral("fraModel"));
    grid->addWidget(m_modelFrame, 2, 0, 1, 2);
    m_skins = new QComboBox(column);
    m_skins->setObjectName(QStringLiteral("cmbSkin"));
    m_skins->setMinimumContentsLength(10);
    m_skinFrame = Frame(QStringLiteral("Skin"), m_skins, column);
    m_skinFrame->setObjectName(QStringLiteral("fraSkin"));
    grid->addWidget(m_skinFrame, 3, 0, 1, 2);
    connect(m_models, &QComboBox::activated, this, &frmMain::cmbModel_Click);
    connect(m_skins, &QComboBox::activated, this, &frmMain::cmbSkin_Click);

    auto* funName = new QWidget(column);
    auto* funLayout = new QVBoxLayout(funName);
    funLayout->setContentsMargins(0, 0, 0, 0);
    QLineEdit* funBox = AddTextBox(Para::FunName);
    funLayout->addWidget(funBox);
    auto* colours = new QHBoxLayout();
    colours->setSpacing(3);
    for (int code = 1; code <= 7; ++code) {
        auto* button = new QPushButton(funName);
        button->setObjectName(QStringLiteral("cmdFunColor_") + QString::number(code));
        Rgb rgb = ColourOfCode(code);
        button->setFixedSize(24, 24);
        button->setToolTip(QStringLiteral("^") + QString::number(code));
        // A square of the colour, edged so that white shows on a light window.
        QPixmap square(16, 16);
        square.fill(QColor(64, 64, 64));
        QPainter painter(&square);
        painter.fillRect(1, 1, 14, 14, QColor(rgb.Red, rgb.Green, rgb.Blue));
        painter.end();
        button->setIcon(QIcon(square));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, code] { FunColourClicked(code); });
        colours->addWidget(button);
    }
    colours->addStretch(1);
    funLayout->addLayout(colours);
    m_funName = new FunNamePreview(funName);
    funLayout->addWidget(m_funName);
    connect(funBox, &QLineEdit::textChanged, this, &frmMain::DrawFunName);
    grid->addWidget(Frame(QStringLiteral("Funname"), funName, column), 4, 0, 1, 2);

    m_rail = new QComboBox(column);
    m_rail->setObjectName(QStringLiteral("cmbRail"));
    for (const std::string& colour : RailColours()) {
        m_rail->addItem(Text(colour));
    }
    connect(
        m_rail, &QComboBox::activated, this, [this](int index) { m_editor.SetRailColour(index); });
    grid->addWidget(Frame(QStringLiteral("Railgun color"), m_rail, column), 5, 0);
    m_arenaLord = new QCheckBox(QStringLiteral("Arenalord"), column);
    m_arenaLord->setObjectName(QStringLiteral("chkArenalord"));
    connect(m_arenaLord, &QCheckBox::clicked, this, [this](bool checked) {
        m_editor.SetArenaLord(checked);
    });
    grid->addWidget(Frame(QStringLiteral("Arenalord"), m_arenaLord, column), 5, 1);

    m_icon = new QLabel(column);
    m_icon->setObjectName(QStringLiteral("picIcon"));
    m_icon->setFixedSize(64, 64);
    m_icon->setAlignment(Qt::AlignCenter);
    m_icon->setFrameShape(QFrame::StyledPanel);
    QGroupBox* iconFrame = Frame(QStringLiteral("Icon"), m_icon, column);
    iconFrame->setObjectName(QStringLiteral("fraIcon"));
    grid->addWidget(iconFrame, 6, 0, 2, 1);

    auto* version = new QWidget(column);
    auto* versionLayout = new QHBoxLayout(version);
    versionLayout->setContentsMargins(0, 0, 0, 0);
    QLineEdit* major = AddTextBox(Para::VersionMajor);
    QLineEdit* minor = AddTextBox(Para::VersionMinor);
    major->setMaximumWidth(50);
    minor->setMaximumWidth(50);
    versionLayout->addWidget(major);
    versionLayout->addWidget(new QLabel(QStringLiteral("."), version));
    versionLayout->addWidget(minor);
    versionLayout->addStretch(1);
    grid->addWidget(Frame(QStringLiteral("Version"), version, column), 6, 1);

    grid->addWidget(
        Frame(QStringLiteral("Comment"), AddTextBox(Para::Comment), column), 8, 0, 1, 2);
    grid->setRowStretch(9, 1);
    column->setMaximumWidth(300);
    return column;
}

void frmMain::FillSkinCombo(std::int16_t model)
{
    QSignalBlocker block(m_skins);
    m_skins->clear();
    const ModelCatalogue& models = m_editor.CurrentCatalogues().Models;
    if (model >= 0 && static_cast<std::size_t>(model) < models.size()) {
        for (const SkinEntry& skin : models[static_cast<std::size_t>(model)].Skins) {
            m_skins->addItem(Text(skin.Name));
        }
    }
    m_skinFrame->setTitle(QStringLiteral("Skin name (%1 skins)").arg(m_skins->count()));
}

void frmMain::FillModelAndSkin(std::int16_t model, std::int16_t skin)
{
    {
        QSignalBlocker block(m_models);
        m_models->clear();
        for (const ModelEntry& entry : m_editor.CurrentCatalogues().Models) {
            m_models->addItem(Text(entry.Name));
        }
        m_models->setCurrentIndex(model);
    }
    FillSkinCombo(model);
    {
        QSignalBlocker block(m_skins);
        m_skins->setCurrentIndex(skin);
    }
    m_editor.TakeShownModelAndSkin({model, skin});
    m_modelFrame->setTitle(QStringLiteral("Model name (%1 models)").arg(m_models->count()));
    ShowImage();
}

void frmMain::ShowImage()
{
    if (!m_painted && (isVisible() || !m_built)) {
        m_imageWaiting = true;
        return;
    }
    m_imageWaiting = false;
    IconChoice choice = m_icons.Choose(m_editor, Selection(), m_editor.UserMessages());
    m_icon->setPixmap(
        IconPixmap(choice, m_icon->contentsRect().size(), m_icon->devicePixelRatioF()));
}

ModelSelection frmMain::Selection() const
{
    return {static_cast<std::int16_t>(m_models->currentIndex()),
            static_cast<std::int16_t>(m_skins->currentIndex())};
}

void frmMain::mnuModelAdd_Click()
{
    frmModelDialog dialog(m_editor.UserMessages(), this);
    connect(&dialog, &frmModelDialog::GiveName, this, [this](const QString& name, bool createRB) {
        ModelSelection current = Selection();
        if (AddModel(m_editor, name.toStdString(), createRB)) {
            FillModelAndSkin(current.Model, current.Skin);
        }
    });
    dialog.exec();
}

void frmMain::cmbModel_Click(int index)
{
    auto model = static_cast<std::int16_t>(index);
    m_editor.ModelChosen(model);
    FillSkinCombo(model);
    {
        QSignalBlocker block(m_skins);
        m_skins->setCurrentIndex(0);
    }
    ShowImage();
}

void frmMain::cmbSkin_Click(int index)
{
    m_editor.SkinChosen(static_cast<std::int16_t>(m_models->currentIndex()),
                        static_cast<std::int16_t>(index));
    ShowImage();
}

void frmMain::DrawFunName(const QString& funName)
{
    m_funName->DrawFunName(funName);
}

void frmMain::FunColourClicked(int code)
{
    QLineEdit* box = m_textBoxes.at(Para::FunName);
    QString text = box->text();
    // The editor counts in bytes of UTF-8; the box in characters.
    std::size_t cursor = static_cast<std::size_t>(text.left(box->cursorPosition()).toUtf8().size());
    std::optional<TextAndCursor> inserted = InsertColourCode(text.toStdString(), cursor, code);
    if (!inserted) {
        return;
    }
    box->setText(Text(inserted->Text));
    box->setFocus();
    box->setCursorPosition(static_cast<int>(
        QString::fromUtf8(inserted->Text.data(), static_cast<qsizetype>(inserted->Cursor)).size()));
    m_editor.TextEdited();
}

void frmMain::ShowChange(ShowAgain show)
{
    if (show == ShowAgain::Everything) {
        FillBotDataToForm();
    } else if (show == ShowAgain::Chats) {
        m_chatPage->RebuildView();
    }
    UpdateEditMenu();
}

void frmMain::UpdateEditMenu()
{
    m_undo->setEnabled(m_editor.CanUndo());
    m_undo->setText(m_editor.CanUndo()
                        ? QStringLiteral("&Undo %1").arg(InCaption(m_editor.UndoName()))
                        : QStringLiteral("&Undo"));
    m_redo->setEnabled(m_editor.CanRedo());
    m_redo->setText(m_editor.CanRedo()
                        ? QStringLiteral("&Redo %1").arg(InCaption(m_editor.RedoName()))
                        : QStringLiteral("&Redo"));
}

void frmMain::FillBotDataToForm()
{
    m_editor.SetFilling(true);
    int gender = m_editor.GenderOption();
    if (gender >= 0) {
        m_gender->button(gender)->setChecked(true);
    }
    m_rail->setCurrentIndex(m_editor.RailColourIndex());
    m_arenaLord->setChecked(m_editor.ArenaLord());
    ModelSelection selection = m_editor.ResolveModelAndSkin();
    FillModelAndSkin(selection.Model, selection.Skin);
    for (const auto& [index, box] : m_textBoxes) {
        box->setText(Text(m_editor.BoxText(index)));
        box->setCursorPosition(0);
    }
    m_pages->ShowBot();
    m_chatPage->ShowBot();
    m_editor.SetFilling(false);
    ShowStatusNote();
    UpdateEditMenu();
}

void frmMain::ShowStatusNote()
{
    if (!m_editor.StatusNote.empty()) {
        statusBar()->showMessage(Text(ShownText(m_editor.StatusNote)));
        m_editor.StatusNote.clear();
    }
}

void frmMain::CreateZeroBot()
{
    // A new bot is shown through the editor's report of the change.
    m_editor.CreateZeroBot();
}

void frmMain::CreateAverageBot()
{
    // A new bot is shown through the editor's report of the change.
    m_editor.CreateAverageBot();
}

void frmMain::CreateRandomBot()
{
    // A new bot is shown through the editor's report of the change.
    m_editor.CreateRandomBot();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        for (const auto& [index, box] : m_textBoxes) {
            if (box == watched) {
                auto* focus = static_cast<QFocusEvent*>(event);
                // A menu or another window taking the focus is not leaving the box.
                if (focus->reason() != Qt::PopupFocusReason &&
                    focus->reason() != Qt::ActiveWindowFocusReason) {
                    ValidateOnLeaving(box, index);
                }
                break;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::ValidateOnLeaving(QLineEdit* box, int index)
{
    if (m_returningTo != nullptr) {
        return;
    }
    if (m_editor.ValidateBox(index, box->text().toStdString())) {
        return;
    }
    m_returningTo = box;
    QTimer::singleShot(0, box, [this, box] {
        box->setFocus(Qt::OtherFocusReason);
        m_returningTo = nullptr;
    });
}

std::optional<int> frmMain::CheckAllIn()
{
    return m_editor.CheckAllIn(
        [this](int index) { return m_textBoxes.at(index)->text().toStdString(); });
}

void frmMain::ShowOpenSaveForm(LoadType purpose)
{
    OpenSaveRequest request = twl::OpenSaveRequestFor(m_editor, purpose);
    frmOpen dialog(m_editor.UserMessages(), this);
    dialog.SetGameFolder(Text(m_editor.CurrentSettings().Text(Settings::Q3Baseq3)));
    dialog.LType(request.Purpose);
    if (!request.Caption.empty()) {
        dialog.setWindowTitle(Text(request.Caption));
    }
    for (const std::string& line : request.BotLines) {
        dialog.AddBotName(Text(line));
    }
    dialog.SetFolder(QString::fromStdString(request.Folder.string()));
    dialog.SetPlayerFolder(QString::fromStdString(request.PlayerFolder.string()));
    connect(&dialog, &frmOpen::GiveDirAndFile, this, &frmMain::frmOpenBot_GiveDirAndFile);
    connect(&dialog, &frmOpen::GiveBot, this, &frmMain::frmOpenBot_GiveBot);
    dialog.exec();
}

void frmMain::frmOpenBot_GiveDirAndFile(const QString& currentDir,
                                        const QString& currentFile,
                                        LoadType loType,
                                        bool dirStruct,
                                        bool pk3Bot)
{
    ApplyOutcome(twl::LoadOrMakeBotFiles(
        m_editor, currentDir.toStdString(), currentFile.toStdString(), loType, dirStruct, pk3Bot));
}

void frmMain::frmOpenBot_GiveBot(const QString& botId, LoadType loType)
{
    ApplyOutcome(twl::LoadBotOfList(m_editor, botId.toStdString(), loType));
}

void frmMain::ApplyOutcome(const CommandOutcome& outcome)
{
    // The bot read is shown through the editor's report of the change.
    if (!outcome.Status.empty()) {
        statusBar()->showMessage(Text(ShownText(outcome.Status)));
    }
}

void frmMain::OpenAtStart(const std::filesystem::path& file)
{
    ApplyOutcome(twl::LoadBotNamedAtStart(m_editor, file));
}

void frmMain::LoadBot()
{
    if (MayLoadBot(m_editor)) {
        ShowOpenSaveForm(LoadType::WholeBot);
    }
}

void frmMain::MakeBotFiles()
{
    if (CheckAllIn()) {
        return;
    }
    std::vector<Finding> findings = CheckThisBot(m_editor);
    if (!MayMakeWithFindings(m_editor, findings)) {
        ShowFindings(findings);
        return;
    }
    ShowOpenSaveForm(LoadType::MakeBotFiles);
}

void frmMain::CheckBot()
{
    // What the boxes hold counts, as it would when the files are made.
    if (!CheckAllIn()) {
        ShowFindings(CheckThisBot(m_editor));
    }
}

void frmMain::TryInGame(bool match)
{
    if (CheckAllIn()) {
        return;
    }
    const Settings& settings = m_editor.CurrentSettings();
    const Catalogues& catalogues = m_editor.CurrentCatalogues();
    TryRequest request;
    request.Bots = TryBotsOf(m_editor.ThisBot(), catalogues, settings);
    if (!request.Bots.Problems.empty()) {
        m_editor.UserMessages().Warn(request.Bots.Problems.front(), "Try in game");
        return;
    }
    std::optional<GameFolders> game = DefaultTryGame(settings);
    if (!game) {
        m_editor.UserMessages().Warn("There is no game to try the bot in: set the game folder in "
                                     "Program/Options.\n" +
                                         WhatAGameFolderHolds(),
                                     "Try in game");
        return;
    }
    request.Game = *game;
    request.PlaySeconds = match ? TryMatchSeconds : 0;
    request.TimeLimit = std::chrono::seconds(60 + request.PlaySeconds);
    std::atomic<bool> cancelled = false;
    request.Cancelled = [&cancelled] {
        return cancelled.load();
    };

    // The engine runs beside the window, which keeps painting; Cancel ends it.
    QProgressDialog wait(QStringLiteral("%1 is in the game...")
                             .arg(Text(m_editor.ThisBot().BotPara(Para::Name).ToText())),
                         QStringLiteral("Cancel"),
                         0,
                         0,
                         this);
    wait.setObjectName(QStringLiteral("frmTryWait"));
    wait.setWindowTitle(QStringLiteral("Try in game"));
    wait.setWindowModality(Qt::WindowModal);
    wait.setMinimumDuration(0);
    wait.show();
    std::atomic<bool> done = false;
    TryVerdict verdict;
    std::thread engine([&] {
        verdict = twl::TryInGame(request);
        done = true;
    });
    while (!done) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        if (wait.wasCanceled()) {
            cancelled = true;
        }
        if (!done) {
            QThread::msleep(20);
        }
    }
    engine.join();
    wait.close();
    statusBar()->showMessage(
        verdict.AllLoaded()
            ? QStringLiteral("The game loaded %1 at every skill")
                  .arg(Text(verdict.Bots.front().Name))
            : QStringLiteral("The game did not load the bot as it is: see what it said"));
    ShowFindings(TryFindings(verdict, request.Bots, catalogues),
                 QStringLiteral("Try in game"),
                 verdict.AllLoaded()
                     ? QStringLiteral("The game loaded the bot at every skill. What it said "
                                      "(double-click a line to see what it concerns):")
                     : QStringLiteral("The game did not load the bot as it is. What it said "
                                      "(double-click a line to see what it concerns):"));
}

void frmMain::ShowFindings(const std::vector<Finding>& findings,
                           const QString& title,
                           const QString& heading)
{
    QStringList lines;
    for (const Finding& finding : findings) {
        lines << Text(FindingLine(finding));
    }
    frmCheck dialog(lines, this, title, heading);
    int chosen = -1;
    connect(&dialog, &frmCheck::GoTo, this, [&chosen](int finding) { chosen = finding; });
    dialog.exec();
    if (chosen >= 0 && static_cast<std::size_t>(chosen) < findings.size()) {
        GoToFinding(findings[static_cast<std::size_t>(chosen)]);
    }
}

void frmMain::GoToFinding(const Finding& finding)
{
    FindingTarget target = TargetOf(finding.Place);
    if (target.Page >= 0) {
        m_pages->setCurrentIndex(target.Page);
    }
    if (target.ChatGroup >= 0) {
        m_chatPage->ShowLineOf(target.ChatGroup, target.ChatLine);
    }
    if (!target.Control.empty()) {
        if (auto* control = findChild<QWidget*>(Text(target.Control))) {
            control->setFocus(Qt::OtherFocusReason);
        }
    }
}

void frmMain::ShowOptions()
{
    frmOptions options(m_editor.UserMessages(), this);
    std::array<std::string, 7> values = OptionValues(m_editor);
    for (std::size_t i = 0; i < values.size(); ++i) {
        options.SetIniPara(static_cast<int>(i), Text(values[i]));
    }
    bool newGame = false;
    connect(&options, &frmOptions::SaveValues, this, [this, &options, &newGame] {
        std::array<std::string, 6> taken;
        for (std::size_t i = 0; i < taken.size(); ++i) {
            taken[i] = options.IniPara(static_cast<int>(i)).toStdString();
        }
        newGame = SaveOptionValues(m_editor, taken);
    });
    options.exec();
    if (newGame) {
        // Another game: its bots, models and chat lists are read at once.
        CheckBaseq3();
    }
    ShowImage(); // the game folder may have come or gone
}

void frmMain::FindGamesAtFirstStart()
{
    if (!m_editor.FirstStart()) {
        return;
    }
    bool taken = m_editor.TakeFoundGames(FindGames(GameSearch::FromEnvironment()));
    if (taken) {
        std::string note = m_editor.StatusNote;
        CheckBaseq3();
        statusBar()->showMessage(Text(ShownText(note)));
        m_editor.StatusNote.clear();
    } else {
        ShowStatusNote();
    }
}

void frmMain::CheckBaseq3()
{
    QProgressDialog wait(
        QStringLiteral("Browising BaseQ3..."), QStringLiteral("Cancel"), 0, 1, this);
    wait.setObjectName(QStringLiteral("frmWait"));
    wait.setWindowTitle(QStringLiteral("Please stand by"));
    wait.setWindowModality(Qt::WindowModal);
    wait.setMinimumDuration(0);
    wait.setAutoClose(false);
    wait.setAutoReset(false);
    ModelSelection selection = Selection();
    bool shown = false;
    auto progress = [&](std::size_t archive, std::size_t archives) {
        if (!shown) {
            wait.show();
            shown = true;
        }
        wait.setMaximum(static_cast<int>(archives));
        wait.setValue(static_cast<int>(archive));
        wait.setLabelText(
            QStringLiteral("Browising BaseQ3...\narchive %1 of %2").arg(archive + 1).arg(archives));
        // The window keeps painting, and Cancel can be pressed, between archives.
        QApplication::processEvents();
        return !wait.wasCanceled();
    };
    bool checked = twl::RunGameFolderCheck(m_editor, selection, progress);
    wait.close();
    if (checked) {
        FillModelAndSkin(selection.Model, selection.Skin);
        const Catalogues& lists = m_editor.CurrentCatalogues();
        QString game = Text(m_editor.CurrentSettings().Text(Settings::Q3Baseq3));
        if (!lists.Game.GameName.empty()) {
            game = Text(lists.Game.GameName) + QStringLiteral(" in ") + game;
        }
        statusBar()->showMessage(QStringLiteral("Checked %1: %2 bots, %3 models")
                                     .arg(game)
                                     .arg(lists.Bots.size())
                                     .arg(lists.Models.size()));
        // The chat page offers the game's own lists now.
        m_chatPage->ShowGameLists();
    }
}

void frmMain::ShowAbout()
{
    frmAbout about(this);
    about.exec();
}

void frmMain::paintEvent(QPaintEvent* event)
{
    QMainWindow::paintEvent(event);
    if (!m_painted) {
        m_painted = true;
        if (m_imageWaiting) {
            QTimer::singleShot(0, this, &frmMain::ShowWaitingImage);
        }
    }
    if (m_editor.ListsPending()) {
        QTimer::singleShot(0, this, &frmMain::LoadPendingLists);
    }
}

void frmMain::ShowWaitingImage()
{
    if (m_imageWaiting) {
        ShowImage();
    }
}

void frmMain::LoadPendingLists()
{
    if (!m_editor.LoadPendingLists()) {
        return;
    }
    // The lists now hold the user's entries too: the same model and skin,
    // found again by name.
    m_editor.SetFilling(true);
    ModelSelection selection = m_editor.ResolveModelAndSkin();
    FillModelAndSkin(selection.Model, selection.Skin);
    m_editor.SetFilling(false);
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (!m_editor.MayClose()) {
        event->ignore();
        return;
    }
    m_editor.SaveOnExit();
    event->accept();
}

} // namespace twl
