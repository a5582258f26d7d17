#include "shell/ui/InputGuard.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "device/DeviceLock.h"
#include "shell/DeviceOperation.h"

namespace {

InputGuard* g_following = nullptr;

void FollowLock(bool busy) {
    if (!g_following) return;
    if (busy)
        g_following->begin();
    else
        g_following->end();
}

bool IsUserInput(const QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        case QEvent::Close:
            // The window system's close box and Alt+F4; the program's own
            // closes go on.
            return event->spontaneous();
        default:
            return false;
    }
}

QWidget* WidgetOf(QObject* object) {
    for (; object; object = object->parent())
        if (object->isWidgetType()) return static_cast<QWidget*>(object);
    return nullptr;
}

}  // namespace

InputGuard::InputGuard(QWidget* waitWindow) : waitWindow_(waitWindow) {}

InputGuard::~InputGuard() {
    if (g_following == this) {
        DeviceLock::setObserver(nullptr);
        g_following = nullptr;
    }
    if (active_) qApp->removeEventFilter(this);
}

void InputGuard::followDeviceOperations() {
    g_following = this;
    DeviceLock::setObserver(&FollowLock);
}

void InputGuard::begin() {
    if (active_) return;
    active_ = true;
    modalAtStart_ = QApplication::activeModalWidget();
    qApp->installEventFilter(this);
}

void InputGuard::end() {
    if (!active_) return;
    // Input that arrived during the last exchange is still queued; it meets
    // the filter now instead of acting after the operation.
    QCoreApplication::processEvents();
    qApp->removeEventFilter(this);
    active_ = false;
    emit ended();
}

bool InputGuard::mayTakeInput(QObject* target) const {
    QWidget* widget = WidgetOf(target);
    if (!widget) return false;
    QWidget* window = widget->window();
    // A popup (a combo box's list, a menu) belongs to the window it opened from.
    while (window->windowType() == Qt::Popup && window->parentWidget())
        window = window->parentWidget()->window();
    if (waitWindow_ && window == waitWindow_) return true;
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == modalAtStart_) return false;
    // A popup without a parent (a line edit's completion list) can only have
    // been opened from the one window that takes input: the modal one.
    return window == modal || window->windowType() == Qt::Popup;
}

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
    // Events reach a window's QWindow before its widgets; the widget-level
    // delivery that follows is the one judged.
    if (!watched->isWidgetType() && event->type() != QEvent::Shortcut) return false;
    if (!IsUserInput(event) || mayTakeInput(watched)) return false;
    if (event->type() == QEvent::Close) {
        // An accepted close event closes the window: the close is refused,
        // and said so, instead.
        event->ignore();
        RefuseDuringDeviceOperation();
        return true;
    }
    event->accept();
    return true;
}
