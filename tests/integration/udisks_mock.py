#!/usr/bin/python3
"""A small stand-in for the disk service on a private bus.

Serves the block devices named on the command line and does what the real
service does to them with the same tools: relabel, unmount, mount, format. Like
the real one it refuses to relabel a mounted FAT or exFAT volume. Every call is
written to the log file, one line each.

usage: udisks_mock.py LOGFILE MOUNTROOT DEVICE...
"""
import os
import subprocess
import sys

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

ROOT = "/org/freedesktop/UDisks2"
BLOCK = "org.freedesktop.UDisks2.Block"
FS = "org.freedesktop.UDisks2.Filesystem"
MANAGER = "org.freedesktop.UDisks2.Manager"
PROPS = "org.freedesktop.DBus.Properties"


class NotSupported(dbus.DBusException):
    _dbus_error_name = "org.freedesktop.UDisks2.Error.NotSupported"


class DeviceBusy(dbus.DBusException):
    _dbus_error_name = "org.freedesktop.UDisks2.Error.DeviceBusy"


class Failed(dbus.DBusException):
    _dbus_error_name = "org.freedesktop.UDisks2.Error.Failed"


def log(line):
    with open(LOGFILE, "a") as f:
        f.write(line + "\n")


def run(cmd):
    # Output to /dev/null: a FUSE helper leaves a daemon that would hold a pipe.
    return subprocess.call(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def probe(dev, key):
    try:
        out = subprocess.run(["blkid", "-p", "-o", "value", "-s", key, dev], capture_output=True, text=True)
        return out.stdout.strip()
    except OSError:
        return ""


def mount_points(dev):
    rdev = os.stat(dev).st_rdev
    want = "%d:%d" % (os.major(rdev), os.minor(rdev))
    points = []
    with open("/proc/self/mountinfo") as f:
        for line in f:
            fields = line.split()
            sep = fields.index("-")
            if fields[2] == want or fields[sep + 2] == dev:
                points.append(fields[4].encode().decode("unicode_escape"))
    return points


class Block(dbus.service.Object):
    def __init__(self, bus, name):
        self.name = name
        self.dev = "/dev/" + name
        dbus.service.Object.__init__(self, bus, ROOT + "/block_devices/" + name)

    def props(self, iface):
        if iface == BLOCK:
            return {
                "Device": dbus.ByteArray(self.dev.encode() + b"\0"),
                "IdLabel": dbus.String(probe(self.dev, "LABEL")),
                "IdType": dbus.String(probe(self.dev, "TYPE")),
                "HintSystem": dbus.Boolean(True),
            }
        if iface == FS:
            return {"MountPoints": dbus.Array([dbus.ByteArray(p.encode() + b"\0") for p in mount_points(self.dev)],
                                              signature="ay")}
        raise dbus.DBusException("no such interface " + iface)

    @dbus.service.method(PROPS, in_signature="ss", out_signature="v")
    def Get(self, iface, name):
        value = self.props(iface)[name]
        log("Get %s %s %s" % (self.name, name, value if name.startswith("Id") else ""))
        return value

    @dbus.service.method(PROPS, in_signature="s", out_signature="a{sv}")
    def GetAll(self, iface):
        return self.props(iface)

    @dbus.service.method(FS, in_signature="sa{sv}")
    def SetLabel(self, label, options):
        kind = probe(self.dev, "TYPE")
        if kind in ("vfat", "exfat") and mount_points(self.dev):
            log("SetLabel %s %s refused: mounted" % (self.name, label))
            raise NotSupported("Cannot change the label of a mounted %s file system" % kind)
        tool = {"vfat": ["fatlabel"], "exfat": ["exfatlabel"], "ext4": ["e2label"]}.get(kind)
        if not tool or run(tool + [self.dev, label]) != 0:
            log("SetLabel %s %s failed" % (self.name, label))
            raise Failed("could not set the label")
        log("SetLabel %s %s" % (self.name, label))

    @dbus.service.method(FS, in_signature="a{sv}")
    def Unmount(self, options):
        for p in mount_points(self.dev):
            if run(["umount", p]) != 0:
                log("Unmount %s busy" % self.name)
                raise DeviceBusy("target is busy")
        log("Unmount %s" % self.name)

    @dbus.service.method(FS, in_signature="a{sv}", out_signature="s")
    def Mount(self, options):
        kind = probe(self.dev, "TYPE")
        label = probe(self.dev, "LABEL") or self.name
        where = os.path.join(MOUNTROOT, label)
        os.makedirs(where, exist_ok=True)
        cmd = {
            "exfat": ["mount.exfat-fuse", self.dev, where],
            "vfat": ["fusefat", "-o", "rw+,blkdev,fsname=" + self.dev, self.dev, where],
            "ext4": ["mount", self.dev, where],
        }.get(kind)
        if not cmd or run(cmd) != 0:
            log("Mount %s failed" % self.name)
            raise Failed("could not mount")
        log("Mount %s %s" % (self.name, where))
        return where

    @dbus.service.method(BLOCK, in_signature="sa{sv}")
    def Format(self, kind, options):
        if mount_points(self.dev):
            log("Format %s refused: mounted" % self.name)
            raise DeviceBusy("device is mounted")
        label = str(options.get("label", ""))
        cmd = {"vfat": ["mkfs.vfat", "-F", "32", "-n", label], "exfat": ["mkfs.exfat", "-L", label],
               "ext4": ["mkfs.ext4", "-q", "-F", "-L", label]}.get(kind)
        if not cmd or run(cmd + [self.dev]) != 0:
            log("Format %s %s failed" % (self.name, kind))
            raise Failed("could not format")
        log("Format %s %s %s" % (self.name, kind, label))


class Manager(dbus.service.Object):
    def __init__(self, bus):
        dbus.service.Object.__init__(self, bus, ROOT + "/Manager")

    @dbus.service.method(MANAGER, in_signature="s", out_signature="(bs)")
    def CanFormat(self, kind):
        need = {"vfat": "mkfs.vfat", "exfat": "mkfs.exfat", "ext4": "mkfs.ext4", "ntfs": "mkntfs"}.get(kind, kind)
        found = any(os.access(os.path.join(d, need), os.X_OK) for d in ("/usr/sbin", "/sbin", "/usr/bin"))
        return (dbus.Boolean(found), dbus.String("" if found else need))


if __name__ == "__main__":
    LOGFILE, MOUNTROOT = sys.argv[1], sys.argv[2]
    DBusGMainLoop(set_as_default=True)
    bus = dbus.SystemBus()
    objects = [Manager(bus)] + [Block(bus, os.path.basename(d)) for d in sys.argv[3:]]
    name = dbus.service.BusName("org.freedesktop.UDisks2", bus)
    log("ready")
    GLib.MainLoop().run()
