#pragma once
#include <QString>

class Cursor;
class Desktop;
class Dialogs;
class FileCopier;
class Formatter;
class InstanceGuard;
class MusicPlayer;
class Network;
class SystemRegistry;
class Volumes;

// The services of the operating system, built once in main() (or by a test) and
// handed to every window. Nothing above this seam talks to the system directly.
struct Platform {
    Volumes* volumes = nullptr;
    Formatter* formatter = nullptr;
    Dialogs* dialogs = nullptr;
    Desktop* desktop = nullptr;
    Cursor* cursor = nullptr;
    InstanceGuard* instanceGuard = nullptr;
    Network* network = nullptr;
    SystemRegistry* registry = nullptr;
    FileCopier* fileCopier = nullptr;
    MusicPlayer* music = nullptr;
    // The folder that holds the program file, without a trailing separator.
    QString programFolder;
};
