#!/usr/bin/env python3
"""Writes the seeds of the fuzz targets into fuzz/corpus/<target>/, in the layout each target reads
(fuzz/fuzz_input.h): small numbers as single bytes, texts as UTF-16LE, a text among several with a one-byte
length before it. The view definitions and the command table are taken from the program's own sources, the
.reg seeds partly from demo/demo.reg. Run it again after changing a layout; the seeds it writes replace the
old ones of the same name, crash inputs kept beside them stay."""
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"


def text(s):
    return s.encode("utf-16-le", "surrogatepass")


def part(s):
    assert len(s) < 256
    return bytes([len(s)]) + text(s)


def write(target, name, data):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / name).write_bytes(data)


def catalogue_definitions():
    source = (ROOT / "src" / "views" / "catalogue.cpp").read_text(encoding="utf-8")
    return re.findall(r'LR"~\((.*?)\)~"', source)


def command_table():
    source = (ROOT / "src" / "shell" / "command_table.cpp").read_text(encoding="utf-8")
    block = source[source.index("kCommandTable ="):source.index("// clang-format on")]
    return "".join(re.findall(r'L"(.*?)"', block))


# GetField: the field number, the separator's length and the separator, then the text.
for i, (n, separator, line) in enumerate([
        (1, ",", '220,"InstallProperties\\DisplayName, and more",DisplayName,,'),
        (2, " ", 'OpenSW   "WS 0015"  extra'),
        (1, "=", "DisplayName=Acme = Tools"),
        (3, "|", "Software\\X,01,01,T,|80,<key>,Name,|240,Data,Header,*>15"),
        (0, "~", "S-1-5-18\\Products\\ABC"),
]):
    write("field", f"seed{i}", bytes([n, len(separator)]) + text(separator + line))

# Definitions: twips per pixel (15 at 96 dpi) less one, then the definition.
for i, definition in enumerate(catalogue_definitions()[:8]):
    write("definition", f"catalogue{i}", bytes([14]) + text(definition))
write("definition", "unclosed_quote", bytes([14]) + text('K,0,0,T"itle|10,"data|20,x,"h'))

# Custom view files: twips per pixel less one, then the file.
write("custom_view", "services", bytes([14]) + text(
    "[Main]\r\nXKey=System\\CurrentControlSet\\Services\r\nColsOrder=0123\r\nColsOrderd=01234a\r\n"
    "Column0=80,<key>,Name,,\r\nColumn1=240,DisplayName,DisplayName,,\r\nColumn2=1500,ImagePath,Program,,\r\n"
    "Column3=30,Type,Type,*>15,\r\nColumn4=100,\"Depend,On\",Depends,,x\r\nColumnA=40,Start,Start,,\r\n"))
write("custom_view", "folder", bytes([14]) + text(
    "; saved by Vantrel\n[main]\nxkey=*.exe;*.dll(2)\ncolsorder=012\ncolsorderd=012z~\n"
    "Column0=350,<key>,File\nColumn1=75,Version\nColumn2=114,Filetime,Time,+>2020\n"))

# Ini files: where to cut the file in two (of 255), then its bytes: ANSI, UTF-8 and UTF-16 with their marks.
LAYOUT_INI = ("[Version]\r\nSignature=\"$Windows NT$\"\r\nProvider=%Acme%\r\nClass=Net\r\n\r\n"
              "[Acme.NTamd64]\r\n%Device%=Install,PCI\\VEN_8086\r\n=no key\r\nEmpty=\r\n; comment\r\n"
              "[Strings]\r\nAcme=\"Acme Software\"\r\nDevice='Acme Network Card'\r\n[version]\r\nX=1\r\n")
SETUP_INI = "[StartUp]\nAppName=Orbit Image Viewer\nProduct=Orbit\r[NT Intel Params]\nWndTitle=Orbit Setup\n"
write("ini_matrix", "layout", bytes([128]) + LAYOUT_INI.encode("cp1252"))
write("ini_matrix", "setup", bytes([7]) + SETUP_INI.encode("cp1252"))
write("ini_matrix", "utf8", bytes([200]) + b"\xef\xbb\xbf" + "[Größe]\nName=Café\n".encode("utf-8"))
write("ini_matrix", "utf16", bytes([99]) + b"\xff\xfe" + LAYOUT_INI.encode("utf-16-le"))
write("ini_matrix", "utf16be", bytes([50]) + b"\xfe\xff" + SETUP_INI.encode("utf-16-be"))

# Command strings.
for i, line in enumerate([
        "[OpenSW WS0015][Detail 1][OutExcel][Exit]",
        '[Open "C:\\Views\\my view.kvf"][Sort 2 -][SetMatch 3][Transpose]',
        '"C:\\Program Files\\Vantrel\\services.kvf"',
        "[OpenIni C:\\setup\\layout.ini] [Connect WS0016][OutFile -.json][Close]",
        "/?",
]):
    write("command_string", f"seed{i}", text(line))

# Conditions: the condition, the value, how many column values follow (each its column's index and its
# text), the data variable, an environment variable's name and value, then a text to substitute.
def condition_seed(condition, value, columns, variable, name, env_value, rest):
    data = part(condition) + part(value) + bytes([len(columns)])
    for index, column_value in columns:
        data += bytes([index]) + part(column_value)
    return data + part(variable) + part(name) + part(env_value) + text(rest)


write("condition", "greater", condition_seed("*>15 (drivers only)", "16", [(5, "16")], "", "windir",
                                             "C:\\Windows", "%windir%\\System32\\%5%"))
write("condition", "not_equal", condition_seed("*^%Windir%\\System32\\Dllcache", "C:\\x", [(0, "Sys\\A\\B")],
                                               "", "windir", "C:\\Windows", "=%0~\\~2%|%0~\\~0%"))
write("condition", "data_variable", condition_seed("+=%%", "{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}", [],
                                                   "{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}", "a", "1",
                                                   "\\HKCR\\CLSID\\%%\\InprocServer32\\ %{% %A%%B%"))
write("condition", "column", condition_seed("*=%4%", "Col", [(4, "col"), (11, "b")], "x", "", "",
                                            "[%4%][%B%][%b%][%5%] 100%"))

# Packed GUIDs.
for i, guid in enumerate(["{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}", "76EBC7F13913D5342AFC8C2AFB530CE8",
                          "{1F7CBE67-3193-435D}", "short"]):
    write("packed_guid", f"seed{i}", text(guid))

# The command table: the computer box's width in twips (two bytes), then the table.
write("command_table", "toolbar", (1800).to_bytes(2, "little") + text(command_table()))
write("command_table", "short_rows", (0).to_bytes(2, "little") + text("00 2" + " " * 62 + "09cDetails   x"))

# .reg exports: bytes as on disk.
UTF16_EXPORT = """Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Acme\\Tools]
@="Acme Tools"
"Version"="4.2"
"Count"=dword:0000002a
"Path"=hex(2):25,00,57,00,49,00,4e,00,44,00,49,00,52,00,25,00,00,00
"List"=hex(7):61,00,00,00,62,00,00,00,\\
  00,00
"Bytes"=hex:01,02,ff ; comment
"Gone"=-

[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]

[HKEY_CLASSES_ROOT\\CLSID\\{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}]
@="Acme Chart Control"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\acme]
"version"="4.3"

[HKEY_CURRENT_USER\\Software\\Ostrand\\Kivo]
"SnapshotFolder"="C:\\\\Snapshots"
"""
write("reg_file", "utf16", b"\xff\xfe" + text(UTF16_EXPORT.replace("\n", "\r\n")))
write("reg_file", "utf8", b"\xef\xbb\xbf" + UTF16_EXPORT.encode("utf-8"))
write("reg_file", "regedit4", b"REGEDIT4\r\n\r\n[HKEY_USERS\\S-1-5-18\\Software]\r\n"
      b"\"Name\"=\"Caf\xe9 \x80\"\r\n\"Text\"=hex(2):41,42,00\r\n[HKEY_CURRENT_CONFIG\\System]\r\n\"x\"=dword:1\r\n")
demo = (ROOT / "demo" / "demo.reg").read_bytes().splitlines(keepends=True)
write("reg_file", "demo_excerpt", b"".join(demo[:60]) + b"".join(demo[330:380]))

# .inf files: the token asked of an installer package, then the file.
write("inf_file", "driver", part("Subject") + text(
    "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=%NetClass%\r\nProvider=\"Acme\"\r\n"
    "[Manufacturer]\r\n%Acme%=Acme,NTamd64\r\n[Strings]\r\nAcme=\"Acme Software\"\r\nNetClass=Net\r\n"))
write("inf_file", "plain", part("ProductCode") + text(
    "[Version]\nClass=Printer\nProvider=%\n[Manufacturer]\n\"Contoso\"\n"))
