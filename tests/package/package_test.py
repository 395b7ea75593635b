"""The Debian package as CPack builds it from this build: its control data,
its files, and what its maintainer scripts do (run with the system's tools
replaced by recorders): the user made and given the folder, the unit never
enabled or started by the package, the service stopped on removal and the
data folder kept."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

BUILD = os.path.abspath(sys.argv.pop(1) if len(sys.argv) > 1 else "build")
SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))

# Every tool the scripts call, recording its arguments.
RECORDER = """#!/bin/sh
echo "$(basename "$0") $*" >> "$RECORD"
case "$(basename "$0")" in
  getent) [ -n "$USER_EXISTS" ] ;;
esac
"""
TOOLS = ("getent", "adduser", "usermod", "chown", "chmod", "mkdir", "cp", "mv", "dpkg-query",
         "deb-systemd-helper", "deb-systemd-invoke", "systemctl")


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="orvis-package-")
        r = subprocess.run(["cpack", "--config", os.path.join(BUILD, "CPackConfig.cmake"),
                            "-B", cls.work], capture_output=True, text=True)
        assert r.returncode == 0, r.stdout + r.stderr
        debs = [f for f in os.listdir(cls.work) if f.endswith(".deb")]
        assert len(debs) == 1, debs
        cls.deb = os.path.join(cls.work, debs[0])
        cls.control = os.path.join(cls.work, "control")
        subprocess.run(["dpkg-deb", "-e", cls.deb, cls.control], check=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def field(self, name):
        return subprocess.run(["dpkg-deb", "-f", self.deb, name], capture_output=True,
                              text=True, check=True).stdout.strip()

    def test_control_and_files(self):
        self.assertRegex(os.path.basename(self.deb), r"^orviswatch_2\.6\.0-2_[a-z0-9]+\.deb$")
        self.assertEqual(self.field("Package"), "orviswatch")
        depends = self.field("Depends")
        for needed in ("adduser", "libqt6widgets6", "libcurl4", "libasound2", "libsystemd0", "libc6"):
            self.assertIn(needed, depends)

        listing = subprocess.run(["dpkg-deb", "-c", self.deb], capture_output=True, text=True,
                                 check=True).stdout.splitlines()
        files = {l.split()[-1]: l.split()[0] for l in listing}
        for program in ("OrvisWatch", "urlcheck", "alertmail", "Postiva", "orviswatch-desktop"):
            self.assertEqual(files.get("./opt/orviswatch/" + program), "-rwxr-xr-x", program)
        self.assertEqual({l.split()[1] for l in listing}, {"root/root"})
        for name in ("opt/orviswatch/buzzer.wav", "usr/share/applications/orviswatch.desktop",
                     "usr/share/icons/hicolor/48x48/apps/orviswatch.png"):
            self.assertIn("./" + name, files)
        self.assertFalse([name for name in files if name.startswith("./var/")])
        self.assertIn("./usr/share/doc/orviswatch/copyright", files)
        self.assertIn("./usr/share/doc/orviswatch/changelog.Debian.gz", files)
        # Nothing of a data folder: the package must never overwrite one.
        for name in files:
            for kept in ("info/", "src/", "mail/", "syslog/", "ORVIS.ini", "Mode.tmp"):
                self.assertNotIn("/orviswatch/" + kept, name)
        if os.path.exists(os.path.join(SOURCE, "monitor", "orviswatch.service.in")):
            for reactivation in ("./opt/orviswatch/Reactivation", "./opt/orviswatch/orviswatch.service"):
                self.assertIn(reactivation, files)
            unit = subprocess.run(
                ["dpkg-deb", "--fsys-tarfile", self.deb], capture_output=True, check=True).stdout
            extracted = os.path.join(self.work, "root")
            os.makedirs(extracted, exist_ok=True)
            subprocess.run(["tar", "-x", "-C", extracted], input=unit, check=True)
            with open(os.path.join(extracted, "lib/systemd/system/orviswatch.service")) as f:
                text = f.read()
            for line in ("User=orviswatch", "StateDirectory=orviswatch", "StateDirectoryMode=0750",
                         "Environment=ORVIS_DATA=/var/lib/orviswatch", "Type=notify",
                         "WorkingDirectory=/var/lib/orviswatch",
                         'ExecStart="/opt/orviswatch/OrvisWatch" OrvisWatchService'):
                self.assertIn("\n" + line + "\n", text)
            self.assertRegex(text, r"\nWatchdogSec=\d+\n")
            if shutil.which("systemd-analyze"):
                # The unit as it stands, its program the one unpacked here.
                verified = os.path.join(self.work, "orviswatch.service")
                with open(verified, "w") as f:
                    f.write(text.replace("/opt/orviswatch/", extracted + "/opt/orviswatch/"))
                r = subprocess.run(["systemd-analyze", "verify", verified],
                                   capture_output=True, text=True, timeout=60)
                self.assertEqual(r.returncode, 0, r.stderr)

    def run_script(self, script, *args, user_exists=False):
        tools = os.path.join(self.work, "tools")
        os.makedirs(tools, exist_ok=True)
        for tool in TOOLS:
            with open(os.path.join(tools, tool), "w") as f:
                f.write(RECORDER)
            os.chmod(os.path.join(tools, tool), 0o755)
        record = os.path.join(self.work, "record")
        if os.path.exists(record):
            os.remove(record)
        env = {"PATH": tools + ":/usr/bin:/bin", "RECORD": record,
               "USER_EXISTS": "1" if user_exists else ""}
        r = subprocess.run([os.path.join(self.control, script), *args], env=env,
                           capture_output=True, text=True)
        self.assertEqual(r.returncode, 0, r.stderr)
        if not os.path.exists(record):
            return []
        with open(record) as f:
            return f.read().splitlines()

    def test_maintainer_scripts(self):
        for script in ("postinst", "prerm", "postrm"):
            mode = os.stat(os.path.join(self.control, script)).st_mode & 0o777
            self.assertEqual(mode, 0o755, script)

        calls = self.run_script("postinst", "configure", "")
        self.assertIn("adduser --system --group --home /var/lib/orviswatch --no-create-home "
                      "--gecos OrvisWatch change monitor orviswatch", calls)
        for call in ("chown orviswatch:orviswatch /var/lib/orviswatch",
                     "chmod 0750 /var/lib/orviswatch", "chown root:root /opt/orviswatch",
                     "cp /opt/orviswatch/buzzer.wav /var/lib/orviswatch/buzzer.wav"):
            self.assertIn(call, calls)
        # An existing user is kept, its home moved from the old layout.
        calls = self.run_script("postinst", "configure", "2.6.0-1", user_exists=True)
        self.assertFalse(any(c.startswith("adduser") for c in calls))
        self.assertIn("usermod -d /var/lib/orviswatch orviswatch", calls)
        self.assertIn("chown orviswatch:orviswatch /var/lib/orviswatch", calls)
        self.assertIn("deb-systemd-helper update-state orviswatch.service", calls)
        self.assertNotIn("usermod -d /var/lib/orviswatch orviswatch",
                         self.run_script("postinst", "configure", "2.6.0-2", user_exists=True))
        # The package never enables or starts the service by itself.
        for args in (("configure", ""), ("configure", "2.5.0-1"), ("abort-upgrade", "2.5.0-1")):
            for call in self.run_script("postinst", *args, user_exists=True):
                self.assertNotRegex(call, r"\b(enable|start|restart)\b(?<!try-restart)", call)

        # Removal masks the unit; purge forgets it. No script deletes data.
        self.assertIn("deb-systemd-helper mask orviswatch.service", self.run_script("postrm", "remove"))
        self.assertIn("deb-systemd-helper purge orviswatch.service", self.run_script("postrm", "purge"))
        for script in ("prerm", "postrm"):
            with open(os.path.join(self.control, script)) as f:
                self.assertNotRegex(f.read(), r"\brm\b")


if __name__ == "__main__":
    unittest.main(verbosity=2)
