// The dialog's worker: one thread that runs jobs in order, their results posted back to the dialog.
#include "window/make_medium_window.h"
#include "window/make_medium_ids.h"

#include <algorithm>

namespace make_medium {

void WindowProgress::Advance(std::uint64_t done, std::uint64_t total)
{
    done_ = done;
    total_ = total;
    const ULONGLONG now = GetTickCount64();
    if (done >= total || now - posted_ >= 50) {
        posted_ = now;
        PostMessageW(dialog_, WM_PROGRESS, 0, 0);
    }
}

int WindowProgress::Thousandths() const
{
    const std::uint64_t done = done_, total = total_;
    if (total == 0)
        return 0;
    const std::uint64_t thousandths = total < (UINT64_MAX / 1000) ? done * 1000 / total : done / (total / 1000);
    return static_cast<int>(std::min<std::uint64_t>(1000, thousandths));
}

void Worker::Start(HWND dialog)
{
    dialog_ = dialog;
    InitializeCriticalSection(&lock_);
    InitializeConditionVariable(&wake_);
    thread_ = CreateThread(nullptr, 0, &Worker::Run, this, 0, nullptr);
}

void Worker::Queue(Job job)
{
    EnterCriticalSection(&lock_);
    jobs_.push_back(std::move(job));
    LeaveCriticalSection(&lock_);
    WakeConditionVariable(&wake_);
}

DWORD WINAPI Worker::Run(void* self)
{
    Worker& worker = *static_cast<Worker*>(self);
    for (;;) {
        EnterCriticalSection(&worker.lock_);
        while (worker.jobs_.empty())
            SleepConditionVariableCS(&worker.wake_, &worker.lock_, INFINITE);
        Job job = std::move(worker.jobs_.front());
        worker.jobs_.pop_front();
        LeaveCriticalSection(&worker.lock_);
        auto* result = new Result(job());
        if (!PostMessageW(worker.dialog_, WM_JOB_DONE, 0, reinterpret_cast<LPARAM>(result)))
            delete result;
    }
}

void Publish(Window& w)
{
    SetPropW(w.dialog, PROPERTY_BUSY, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(w.busy)));
    SetPropW(w.dialog, PROPERTY_FINISHED, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(w.finished)));
    SetPropW(w.dialog, PROPERTY_PROGRESS,
             reinterpret_cast<HANDLE>(static_cast<INT_PTR>(w.progress ? w.progress->Thousandths() : 0)));
    SetPropW(w.dialog, PROPERTY_IMAGE_CHECKED, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(w.imageChecked)));
    const bool idle = w.busy == 0;
    // While a make runs, Make is its Cancel.
    const bool cancellable = w.making && w.progress && !w.progress->Cancelled();
    const std::wstring make = w.making ? L"Cancel" : L"Ma&ke";
    if (TextOf(GetDlgItem(w.dialog, IDC_MAKE)) != make)
        SetDlgItemTextW(w.dialog, IDC_MAKE, make.c_str());
    EnableWindow(GetDlgItem(w.dialog, IDC_MAKE), ((idle && !w.imageChecked) || cancellable) && !w.closing);
    EnableWindow(GetDlgItem(w.dialog, IDC_CHECK), idle && !w.closing);
    EnableWindow(GetDlgItem(w.dialog, IDC_CHECK_IMAGE), idle && !w.closing);
}

void Submit(Window& w, Worker::Job job)
{
    ++w.busy;
    Publish(w);
    w.worker.Queue(std::move(job));
}

}  // namespace make_medium
