// Qt Virtual Keyboard's input panel, as wide as the widget that carries it; its height follows
// from its width.
import QtQuick
import QtQuick.VirtualKeyboard

InputPanel {
}
