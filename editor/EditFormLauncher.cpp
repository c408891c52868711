#include "editor/EditFormLauncher.h"

namespace lumisk {

EditFormLauncher::EditFormLauncher(HINSTANCE module, std::function<EditFormServices()> services)
    : module_(module), services_(std::move(services)) {}

EditFormLauncher::~EditFormLauncher() {
  if (form_) {
    form_->setOnDestroyed(nullptr);
    form_->setQuiet();
    form_.reset();  // destroys the window if this thread owns it
  }
  if (registered_) TEditForm::unregisterClass(module_);
}

void EditFormLauncher::open(PlugFunc& plugin) {
  if (form_) {
    if (form_->hwnd()) SetForegroundWindow(form_->hwnd());
    return;
  }
  if (!registered_) {
    TEditForm::registerClass(module_);
    registered_ = true;
  }
  auto form = std::make_unique<TEditForm>(plugin, module_, services_ ? services_() : EditFormServices{});
  form->setOnDestroyed([this](TEditForm& gone) {
    if (form_.get() == &gone) form_.reset();
  });
  form->create();
  form_ = std::move(form);
  form_->show();
}

void EditFormLauncher::close() {
  if (!form_ || !form_->hwnd()) return;
  // Released through the destroy callback; nothing of the form is used after this call.
  DestroyWindow(form_->hwnd());
}

}  // namespace lumisk
