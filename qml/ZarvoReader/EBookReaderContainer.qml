import QtQuick
Rectangle { width: 480; height: 800 }
