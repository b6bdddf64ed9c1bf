#!/usr/bin/env python3
"""scripts/catalogue on a small tree of its own: drift of one character, a
changed English and a missing translation are each caught."""

import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "catalogue")

HEADER = """namespace msg {
inline constexpr int kPointsSent = 100;   // %1 points
inline constexpr int kPortOpen = 200;
}
"""
CATALOGUE = """# A catalogue.
101\t%1 points have been sent
102\t已传送%1点
103\t已傳送%1點
201\tThe port is open
202\t端口已打开
203\t埠已開啟
"""
SOURCE = """// "msg::kPortOpen, "not this one" is a comment
constexpr const char* kOpenText = "The port is " "open";
void F(Texts texts) {
    texts(msg::kPointsSent,
          "%1 points have been "
          "sent", {n});
    texts(msg::kPortOpen, kOpenText);
}
"""


class CatalogueScript(unittest.TestCase):
    def tree(self, source=SOURCE, catalogue=CATALOGUE):
        root = tempfile.mkdtemp()
        for path, text in (("i18n/message_catalogue.h", HEADER), ("data/messages.txt", catalogue),
                           ("serial/transfer.cpp", source)):
            os.makedirs(os.path.join(root, os.path.dirname(path)), exist_ok=True)
            with open(os.path.join(root, path), "w", encoding="utf-8") as f:
                f.write(text)
        return root

    def run_script(self, mode, root):
        return subprocess.run([sys.executable, SCRIPT, mode, root], capture_output=True, text=True)

    def catalogue(self, root):
        with open(os.path.join(root, "data/messages.txt"), encoding="utf-8") as f:
            return f.read()

    def test_agreeing_tree_gets_comments_then_passes(self):
        root = self.tree()
        self.assertEqual(self.run_script("check", root).returncode, 1)  # comments not yet written
        self.assertEqual(self.run_script("update", root).returncode, 0)
        text = self.catalogue(root)
        self.assertIn("#. kPointsSent: %1 points\n#: serial/transfer.cpp\n101\t", text)
        self.assertIn("# A catalogue.\n", text)
        check = self.run_script("check", root)
        self.assertEqual((check.returncode, check.stderr), (0, ""))

    def test_one_character_of_drift_fails_and_update_marks_translations_stale(self):
        root = self.tree(source=SOURCE.replace('"sent"', '"sent."'))
        self.run_script("update", root)
        text = self.catalogue(root)
        self.assertIn("101\t%1 points have been sent.\n", text)
        stale = '#, stale: made for %1 points have been sent\n'
        self.assertIn(stale + "102\t已传送%1点\n" + stale + "103\t", text)
        check = self.run_script("check", root)
        self.assertEqual(check.returncode, 1)
        self.assertIn("102 is stale", check.stderr)
        # The translator's new text, with the mark taken away, passes.
        with open(os.path.join(root, "data/messages.txt"), "w", encoding="utf-8") as f:
            f.write(text.replace(stale, ""))
        self.assertEqual(self.run_script("check", root).returncode, 0)

    def test_drift_is_named_at_its_call(self):
        root = self.tree()
        self.run_script("update", root)
        with open(os.path.join(root, "serial/transfer.cpp"), "w", encoding="utf-8") as f:
            f.write(SOURCE.replace('"open"', '"opened"'))
        check = self.run_script("check", root)
        self.assertEqual(check.returncode, 1)
        self.assertIn("serial/transfer.cpp:7: the English of msg::kPortOpen is 'The port is opened'",
                      check.stderr)
        self.assertIn("differ from character 17", check.stderr)

    def test_missing_or_unencodable_translation_and_conflicting_calls_fail(self):
        root = self.tree(catalogue=CATALOGUE.replace("203\t埠已開啟\n", "").replace("傳", "传"),
                         source=SOURCE + 'void G(Texts t) { t(msg::kPortOpen, "Open"); }\n')
        check = self.run_script("check", root)
        self.assertEqual(check.returncode, 1)
        self.assertIn("200 lacks its line(s) 203", check.stderr)
        self.assertIn("103 has '传', which big5 cannot encode", check.stderr)
        self.assertIn("msg::kPortOpen is given as 'Open' here", check.stderr)


if __name__ == "__main__":
    unittest.main()
