#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Orvela");
  QMainWindow window;
  window.setWindowTitle("Orvela [Untitled]");
  window.resize(804, 600);
  window.show();
  return QApplication::exec();
}
