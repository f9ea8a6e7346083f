// The handlers that MainWindow's events run.
#pragma once

namespace corvane {

// "按钮1" clicked: fetch the courier list, recognise the number, fill "组合框1".
void onGetInfoClicked();

// "组合框1" item picked: query the tracking record and show it in "超级列表框1".
void onCourierSelected();

// MainWindow first activated: paint the credit lines.
void onWindowFirstActivated();

}  // namespace corvane
