#include "framework/windows/FileDrops.h"

#include "framework/windows/ErrorGuard.h"
#include "framework/windows/Windows.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

struct TDropRecord {
    std::vector<std::string> Files;
    TPoint Point;
};

namespace {

// The handles not released yet; a handle not in here is never dereferenced.
std::vector<std::unique_ptr<TDropRecord>>& LiveDrops()
{
    static std::vector<std::unique_ptr<TDropRecord>> drops;
    return drops;
}

TDropRecord* Live(HDROP drop)
{
    for (const auto& record : LiveDrops())
        if (record.get() == drop)
            return record.get();
    return nullptr;
}

std::vector<std::string> LocalFiles(const QMimeData* data)
{
    std::vector<std::string> files;
    if (data == nullptr)
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            files.push_back(url.toLocalFile().toStdString());
    return files;
}

// Turns Qt's drag and drop events on a window's widget into WM_DROPFILES.
class TDropFilter : public QObject {
public:
    TDropFilter(QObject* parent, HWND window) : QObject(parent), window_(window)
    {
        setObjectName(QStringLiteral("FileDropFilter"));
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (LocalFiles(drag->mimeData()).empty())
                drag->ignore();
            else
                drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            std::vector<std::string> files = LocalFiles(drop->mimeData());
            if (files.empty()) {
                drop->ignore();
                return true;
            }
            drop->acceptProposedAction();
            const QPoint global = static_cast<QWidget*>(watched)->mapToGlobal(drop->position().toPoint());
            TPoint point{global.x(), global.y()};
            ScreenToClient(window_, point);
            const HWND window = window_;
            RunGuarded(nullptr, [&] { DeliverDroppedFiles(window, std::move(files), point); });
            return true;
        }
        default:
            return false;
        }
    }

private:
    HWND window_;
};

TDropFilter* FilterOf(QWidget* widget)
{
    return widget->findChild<TDropFilter*>(QStringLiteral("FileDropFilter"), Qt::FindDirectChildrenOnly);
}

} // namespace

bool DragAcceptFiles(HWND window, bool accept)
{
    TWindowHost* host = WindowHost(window);
    QWidget* widget = host != nullptr ? host->Widget() : nullptr;
    if (widget == nullptr)
        return false;
    TDropFilter* filter = FilterOf(widget);
    if (accept && filter == nullptr)
        widget->installEventFilter(new TDropFilter(widget, window));
    else if (!accept && filter != nullptr) {
        widget->removeEventFilter(filter);
        delete filter;
    }
    widget->setAcceptDrops(accept);
    return true;
}

UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size)
{
    const TDropRecord* record = Live(drop);
    if (record == nullptr)
        return 0;
    if (index == 0xFFFFFFFFu)
        return static_cast<UINT>(record->Files.size());
    if (index >= record->Files.size())
        return 0;
    const std::string& name = record->Files[index];
    if (buffer == nullptr)
        return static_cast<UINT>(name.size());
    if (size == 0)
        return 0;
    const std::size_t copied = std::min<std::size_t>(name.size(), size - 1);
    std::memcpy(buffer, name.data(), copied);
    buffer[copied] = '\0';
    return static_cast<UINT>(copied);
}

bool DragQueryPoint(HDROP drop, TPoint& point)
{
    const TDropRecord* record = Live(drop);
    if (record == nullptr)
        return false;
    point = record->Point;
    return true;
}

void DragFinish(HDROP drop)
{
    auto& drops = LiveDrops();
    drops.erase(std::remove_if(drops.begin(), drops.end(), [drop](const auto& r) { return r.get() == drop; }),
                drops.end());
}

LRESULT DeliverDroppedFiles(HWND window, std::vector<std::string> files, TPoint point)
{
    auto record = std::make_unique<TDropRecord>(TDropRecord{std::move(files), point});
    const HDROP drop = record.get();
    LiveDrops().push_back(std::move(record));
    struct TRelease {
        HDROP Drop;
        ~TRelease() { DragFinish(Drop); } // also when the handler throws
    } release{drop};
    return SendMessage(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
}
