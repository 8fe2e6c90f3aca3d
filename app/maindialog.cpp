#include "maindialog.h"

#ifdef FRAMETALLY_HAVE_CAMERA
#include "camerareader.h"
#endif

#include <QAction>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>
#include <QVBoxLayout>

#include "aboutdialog.h"
#include "chosenfile.h"
#include "dialogunits.h"
#include "file_types.h"
#include "filedetailspanel.h"
#include "frametallyapp.h"
#include "textfit.h"

namespace {

// The dialog's controls are placed on a 216 x 80 dialog-unit area below
// the menu bar.
constexpr int kWidth = 216;
constexpr int kHeight = 80;

std::optional<frametally::ChosenFile> droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    for (const QUrl& url : data->urls()) {
        if (auto file = chosenfile::fromUrl(url))
            return file;
    }
    return std::nullopt;
}

}  // namespace

CMainDialog::CMainDialog(QWidget* parent)
    : QDialog(parent), m_icon(CFrametallyApp::applicationIcon()), m_select(*this)
{
    // A fixed-size window: it can be minimised and closed, not maximised.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(tr("Imagewright - Frametally"));
    setAcceptDrops(true);

    const CDialogUnits units(font());
    auto* controls = new QWidget(this);
    controls->setFixedSize(units.size(kWidth, kHeight));

    m_selectButton = new QPushButton(tr("&Select"), controls);
    m_selectButton->setObjectName(QStringLiteral("selectButton"));
    m_selectButton->setGeometry(units.rect(126, 12, 50, 14));
    // The dialog has no default button: Enter elsewhere, in the result field
    // say, must not open the picker. QDialog would make the first button that
    // is an auto-default one its default when shown.
    m_selectButton->setDefault(false);
    m_selectButton->setAutoDefault(false);
    connect(m_selectButton, &QPushButton::clicked, this, &CMainDialog::OnSelect);

    auto* selectLabel = new QLabel(tr("Select Image File:"), controls);
    units.placeText(selectLabel, 32, 14, 57, 8);
    selectLabel->setBuddy(m_selectButton);

    auto* countLabel = new QLabel(tr("Image Shutter Count:"), controls);
    units.placeText(countLabel, 32, 42, 68, 8);

    m_resultField = new QLineEdit(controls);
    m_resultField->setObjectName(QStringLiteral("resultField"));
    m_resultField->setGeometry(units.rect(126, 40, 50, 14));
    m_resultField->setReadOnly(true);
    countLabel->setBuddy(m_resultField);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(QMargins());
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(controls);
    m_details = new CFileDetailsPanel(this);
    layout->addWidget(m_details);

    OnInitDialog();
}

bool CMainDialog::OnInitDialog()
{
    m_menuBar = new QMenuBar(this);
    QMenu* file = m_menuBar->addMenu(tr("&File"));
#ifdef FRAMETALLY_HAVE_CAMERA
    auto* camera = new CCameraReader(
        this, [this](const frametally::SelectReading& reading) { showReading(reading); });
    QAction* fromCamera =
        file->addAction(tr("Read From &Camera"), camera, &CCameraReader::OnReadFromCamera);
    fromCamera->setObjectName(QStringLiteral("readFromCameraAction"));
    fromCamera->setShortcut(QKeySequence(tr("Ctrl+R")));
    file->addSeparator();
#endif
    QAction* exit = file->addAction(tr("E&xit"), this, &CMainDialog::OnExit);
    exit->setObjectName(QStringLiteral("exitAction"));
    exit->setShortcuts(QKeySequence::Quit);
    QMenu* help = m_menuBar->addMenu(tr("&Help"));
    QAction* about = help->addAction(tr("&About Frametally"), this, &CMainDialog::OnAbout);
    about->setObjectName(QStringLiteral("aboutAction"));
    layout()->setMenuBar(m_menuBar);

    setWindowIcon(m_icon);
    m_selectButton->setFocus();
    return true;
}

void CMainDialog::readFile(const frametally::ChosenFile& file) { m_select.readFile(file); }

void CMainDialog::readFile(const QString& path)
{
    m_select.readFile(chosenfile::fromBytes(QFile::encodeName(path)));
}

void CMainDialog::OnSelect() { m_select.select(); }

void CMainDialog::OnExit() { done(0); }

void CMainDialog::OnAbout()
{
    CAboutDialog about(this);
    about.exec();
}

frametally::SelectFlow::PickResult CMainDialog::pickFile(frametally::ChosenFile& chosen)
{
    // Cameras name their files in capitals (DSC_0001.NEF), and not every
    // desktop's file dialog matches patterns regardless of case.
    QPointer<QFileDialog> picker = new QFileDialog(this, tr("Select Image File"));
    picker->setAcceptMode(QFileDialog::AcceptOpen);
    picker->setFileMode(QFileDialog::ExistingFile);
    picker->setDefaultSuffix(QStringLiteral("NEF"));
    QString cameraPatterns;
    for (const std::string& extension : frametally::fileExtensions()) {
        const QString ending = QString::fromStdString(extension);
        cameraPatterns += QStringLiteral(" *.%1 *.%2").arg(ending, ending.toUpper());
    }
    picker->setNameFilters(
        {tr("NEF Files (*.nef *.NEF)"), tr("JPG Files (*.jpg *.JPG *.jpeg *.JPEG)"),
         tr("Camera Files (%1)").arg(cameraPatterns.trimmed()), tr("All Files (*)")});
    if (!m_nameFilter.isEmpty())
        picker->selectNameFilter(m_nameFilter);
    const QString folder = pickerFolder();
    if (!folder.isEmpty())
        picker->setDirectory(folder);

    using PickResult = frametally::SelectFlow::PickResult;
    const int outcome = picker->exec();
    if (!picker)
        return PickResult::Cancelled;
    m_nameFilter = picker->selectedNameFilter();
    PickResult result = PickResult::Cancelled;
    if (outcome == QDialog::Accepted) {
        // URLs, not selectedFiles(): a desktop's own picker answers with a URL
        // that keeps every byte of the name.
        const QList<QUrl> urls = picker->selectedUrls();
        if (const auto file =
                urls.isEmpty() ? std::nullopt : chosenfile::fromUrl(urls.constFirst())) {
            chosen = *file;
            result = PickResult::Confirmed;
        }
    } else if (outcome != QDialog::Rejected) {
        // exec() answers -1 when the dialog could not be run.
        result = PickResult::NotCreated;
    }
    delete picker;
    return result;
}

QString CMainDialog::pickerFolder() const
{
    // The folder of the file read last, for this session; before any, the
    // user's Pictures folder when there is one.
    if (const auto& last = m_select.selectedFile()) {
        const QFileInfo file(QFile::decodeName(QByteArray::fromStdString(last->path)));
        if (file.absoluteDir().exists())
            return file.absolutePath();
    }
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return {};
}

void CMainDialog::showMessage(const std::string& text)
{
    // A path or a word too long for the box breaks rather than being cut.
    QMessageBox box(QMessageBox::Warning, QCoreApplication::applicationName(),
                    breakableText(chosenfile::text(text)), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void CMainDialog::showReading(const frametally::SelectReading& reading)
{
    m_resultField->setText(chosenfile::text(reading.result));
    m_resultField->home(false);
    m_details->showReading(reading);
}

void CMainDialog::keyPressEvent(QKeyEvent* event)
{
    // Without a default button, Enter on the focused Select still presses it,
    // and Enter anywhere else does nothing.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier
        && focusWidget() == m_selectButton) {
        event->accept();
        m_selectButton->animateClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CMainDialog::dragEnterEvent(QDragEnterEvent* event)
{
    if (droppedFile(event->mimeData()))
        event->acceptProposedAction();
}

void CMainDialog::dropEvent(QDropEvent* event)
{
    const auto file = droppedFile(event->mimeData());
    if (!file)
        return;
    event->acceptProposedAction();
    // Read once the drop has finished, so the file manager is not kept waiting
    // should the reading end in a message box.
    QMetaObject::invokeMethod(
        this, [this, file] { readFile(*file); }, Qt::QueuedConnection);
}
