#include "app/ProgressWindow.h"

namespace qlx {

void exchangeProgressWindow(DataExchange& exchange, ControlObject& progressCtrl,
                            std::string& statusString) {
  exchange.attach(kProgressBarId, progressCtrl);
  exchange.windowText(kStatusLineId, statusString);
}

void initialiseProgressWindow(ProgressWindowOps& window, ProgressControl& progressCtrl) {
  window.setIcon(kIconBig);
  window.setIcon(kIconSmall);
  progressCtrl.sendMessage(kPbmSetRange, 0, kBarRange0To100);
  progressCtrl.sendMessage(kPbmSetStep, kBarStep, 0);
  window.setTimer(kInstallTimerId, kInstallTimerIntervalMs);
}

void onProgressTimer(ProgressWindowOps& window, ReportingLinks links, std::string& statusString,
                     ProgressControl& progressCtrl, bool& installationStarted) {
  window.killTimer(kInstallTimerId);
  if (installationStarted) return;
  installationStarted = true;
  links.statusText = &statusString;
  links.progressBar = &progressCtrl;
  window.endProcess(window.runInstallFlow());
}

}  // namespace qlx
