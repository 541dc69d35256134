"""The end-to-end matrix: one row per road, fault or attack, each with the boxes
it must show (word for word), the files it must leave and its exit code."""

from dataclasses import dataclass, field, replace
from typing import Optional, Union

# ---- What the rows are made of ----------------------------------------------


@dataclass(frozen=True)
class Payload:
    """The exact bytes of catalogue entry `index`, optionally with a tail."""
    index: int
    tail: bytes = b""


@dataclass(frozen=True)
class Unchanged:
    """The file must still hold what the row planted there."""


Content = Union[bytes, Payload]


@dataclass(frozen=True)
class Folder:
    path: str


@dataclass(frozen=True)
class File:
    path: str
    content: Content
    read_only: bool = False


@dataclass(frozen=True)
class Drive:
    """A drive letter mapped to a fresh folder, or to a tmpfs of `tmpfs_kib`."""
    letter: str
    tmpfs_kib: int = 0


@dataclass(frozen=True)
class Link:
    """A symbolic link at `path` to `target`, the only kind of link Wine can
    express: it follows it as Windows follows a junction an administrator made."""
    path: str
    target: str


@dataclass(frozen=True)
class HeldOpen:
    """Another process keeps this file open with no sharing during the run."""
    path: str


@dataclass(frozen=True)
class PlantedWinmm:
    """A winmm.dll of ours beside the program that leaves a marker if loaded."""


@dataclass(frozen=True)
class Box:
    title: str
    prompt: str
    buttons: str = "OK"
    icon: str = "none"
    window: str = "shown"
    press: str = "OK"
    hold_ms: int = 0


@dataclass(frozen=True)
class Browser:
    action: str  # "cancel" or "choose"
    path: str = ""
    prompt: str = "C:\\"
    owner: str = "Tolvar Support Files"


@dataclass(frozen=True)
class CloseWindow:
    title: str = "Tolvar Support Files"


@dataclass
class Scenario:
    name: str
    steps: list
    exit_code: int
    # Every folder listed here must hold exactly these files afterwards (None:
    # the folder must not exist); no payload file may appear anywhere else.
    folders: dict
    setup: list = field(default_factory=list)
    program: str = "QuillfernFaces"
    dll_overrides: str = ""
    marker_expected: Optional[bool] = None


# ---- The texts the user must see -------------------------------------------

WINDOW_TITLE = "Tolvar Support Files"
DEFAULT_FOLDER = "C:\\ProgramData\\Tolvar\\graphics"
NAMES = ["Quillfern.fac", "Quillfern1.edf", "Quillfern2.edf", "Quillfern3.edf", "Quillfern4.edf"]

ASK_TO_BROWSE = Box(
    title=DEFAULT_FOLDER + " not found.",
    prompt="Default destination folder not found.\r\n"
    "Make sure Tolvar has already been installed.\r\n"
    "Select OK to browse for Tolvar\\graphics folder or CANCEL to Exit.",
    buttons="OK,Cancel",
)
NO_FOLDER_BOX = Box(title="Folder not specified.", prompt="No folder specified.\r\nQuillfernFaces will now exit.")
SUCCESS_BOX = Box(title="Success!", prompt="Quillfern Card Faces Installed!")
ERROR_BOX = Box(title="Error", prompt="Unexpected Error!\r\nQuillfernFaces will now exit.")
UNHANDLED_NO_SCRIPTING = Box(
    title="QuillfernFaces",
    prompt="QuillfernFaces stopped because of a failure it cannot handle:\r\n\r\n"
    # Wine's answer when the run-time's DLL is switched off.
    "Creating Scripting.FileSystemObject failed (0x80040152).\r\n\r\n"
    "No file has been installed.",
    icon="shown",
)
UNHANDLED_NO_101 = Box(
    title="QuillfernFaces",
    prompt="QuillfernFaces stopped because of a failure it cannot handle:\r\n\r\n"
    "The embedded file CUSTOM 101 is missing from QuillfernFaces.exe.\r\n\r\n"
    "No file has been installed.",
    icon="shown",
)

EXIT_SUCCESS, EXIT_DECLINED, EXIT_NO_FOLDER, EXIT_FOLDER_MISSING, EXIT_WRITE_FAILURE, EXIT_UNHANDLED = 0, 2, 3, 4, 5, 6
# The Windows search order: the program's own folder before the system's.
APP_FOLDER_FIRST = "winmm=n,b"


def payloads(*indices):
    return {NAMES[i]: Payload(i) for i in indices}


def in_folder(folder, name):
    return folder.rstrip("\\") + "\\" + name


def folder_missing_box(folder):
    return Box(title=folder + " not found.", prompt="Destination folder not found.\r\nQuillfernFaces will now exit.")


ALL_FIVE = payloads(0, 1, 2, 3, 4)
CHOSEN = "C:\\e2e\\Chosen Folder"
FULL_DISK = "T:\\graphics"
VICTIM = "C:\\e2e\\victim\\notes.txt"
LINKED_FOLDER = "C:\\e2e\\linked graphics"
# A name the ANSI code page (1252 here) lacks, and the folder it best-fits to.
OUTSIDE_CODE_PAGE = "C:\\e2e\\Tolvar \u03a9mega"
LOOK_ALIKE = "C:\\e2e\\Tolvar Omega"

# ---- The matrix ------------------------------------------------------------

SCENARIOS = [
    Scenario(
        name="default_folder_present",
        setup=[Folder(DEFAULT_FOLDER)],
        steps=[SUCCESS_BOX],
        exit_code=EXIT_SUCCESS,
        folders={DEFAULT_FOLDER: ALL_FIVE},
    ),
    Scenario(
        name="default_missing_cancel",
        steps=[replace(ASK_TO_BROWSE, press="Cancel")],
        exit_code=EXIT_DECLINED,
        folders={DEFAULT_FOLDER: None},
    ),
    Scenario(
        name="default_missing_escape",
        steps=[replace(ASK_TO_BROWSE, press="Escape")],
        exit_code=EXIT_DECLINED,
        folders={DEFAULT_FOLDER: None},
    ),
    Scenario(
        name="browser_cancelled",
        steps=[ASK_TO_BROWSE, Browser("cancel"), NO_FOLDER_BOX],
        exit_code=EXIT_NO_FOLDER,
        folders={DEFAULT_FOLDER: None},
    ),
    Scenario(
        name="folder_chosen",
        setup=[Folder(CHOSEN)],
        steps=[ASK_TO_BROWSE, Browser("choose", CHOSEN), SUCCESS_BOX],
        exit_code=EXIT_SUCCESS,
        folders={CHOSEN: ALL_FIVE, DEFAULT_FOLDER: None},
    ),
    Scenario(
        # The shell hands back the look-alike's path; it must not be written to.
        name="look_alike_of_chosen_folder",
        setup=[Folder(OUTSIDE_CODE_PAGE), Folder(LOOK_ALIKE)],
        steps=[ASK_TO_BROWSE, Browser("choose", OUTSIDE_CODE_PAGE), folder_missing_box(LOOK_ALIKE)],
        exit_code=EXIT_FOLDER_MISSING,
        folders={OUTSIDE_CODE_PAGE: {}, LOOK_ALIKE: {}, DEFAULT_FOLDER: None},
    ),
    Scenario(
        name="drive_root_chosen",
        setup=[Drive("R")],
        steps=[ASK_TO_BROWSE, Browser("choose", "R:\\"), SUCCESS_BOX],
        exit_code=EXIT_SUCCESS,
        folders={"R:\\": ALL_FIVE, DEFAULT_FOLDER: None},
    ),
    Scenario(
        name="longer_file_replaced",
        setup=[Folder(DEFAULT_FOLDER),
               File(in_folder(DEFAULT_FOLDER, NAMES[1]), Payload(1, tail=b"\xa5" * 65536))],
        steps=[SUCCESS_BOX],
        exit_code=EXIT_SUCCESS,
        folders={DEFAULT_FOLDER: ALL_FIVE},
    ),
    Scenario(
        name="read_only_third_entry",
        setup=[Folder(DEFAULT_FOLDER),
               File(in_folder(DEFAULT_FOLDER, NAMES[2]), b"read-only, keep me\r\n", read_only=True)],
        steps=[ERROR_BOX],
        exit_code=EXIT_WRITE_FAILURE,
        folders={DEFAULT_FOLDER: {**payloads(0, 1), NAMES[2]: Unchanged()}},
    ),
    Scenario(
        # 4 MiB holds entries 0 to 2 but not entry 3 beside them.
        name="disk_fills",
        setup=[Drive("T", tmpfs_kib=4096), Folder(FULL_DISK),
               File(in_folder(FULL_DISK, NAMES[3]), b"the old strip, kept whole\r\n")],
        steps=[ASK_TO_BROWSE, Browser("choose", FULL_DISK), ERROR_BOX],
        exit_code=EXIT_WRITE_FAILURE,
        folders={FULL_DISK: {**payloads(0, 1, 2), NAMES[3]: Unchanged()}, DEFAULT_FOLDER: None},
    ),
    Scenario(
        name="file_held_open",
        setup=[Folder(DEFAULT_FOLDER),
               File(in_folder(DEFAULT_FOLDER, NAMES[3]), b"held by another program\r\n"),
               HeldOpen(in_folder(DEFAULT_FOLDER, NAMES[3]))],
        steps=[ERROR_BOX],
        exit_code=EXIT_WRITE_FAILURE,
        folders={DEFAULT_FOLDER: {**payloads(0, 1, 2), NAMES[3]: Unchanged()}},
    ),
    Scenario(
        # The success box must still wait for OK once the window is gone.
        name="window_closed_early",
        setup=[Folder(DEFAULT_FOLDER)],
        steps=[CloseWindow(), replace(SUCCESS_BOX, window="gone", hold_ms=1500)],
        exit_code=EXIT_SUCCESS,
        folders={DEFAULT_FOLDER: ALL_FIVE},
    ),
    Scenario(
        # The link is replaced as a name; the file it points to is never written.
        name="link_in_place_of_a_file",
        setup=[Folder(DEFAULT_FOLDER), Folder("C:\\e2e\\victim"), File(VICTIM, b"another program's file, keep me\r\n"),
               Link(in_folder(DEFAULT_FOLDER, NAMES[1]), VICTIM)],
        steps=[SUCCESS_BOX],
        exit_code=EXIT_SUCCESS,
        folders={DEFAULT_FOLDER: ALL_FIVE, "C:\\e2e\\victim": {"notes.txt": Unchanged()}},
    ),
    Scenario(
        # Under Wine a linked folder is simply followed, as Windows follows an
        # administrator's junction; the files land where it points, and only there.
        # Windows refuses a junction made by a standard user once redirection
        # trust is enforced; Wine has neither the policy nor the user.
        name="destination_folder_is_a_link",
        setup=[Folder(LINKED_FOLDER), Folder("C:\\ProgramData\\Tolvar"), Link(DEFAULT_FOLDER, LINKED_FOLDER)],
        steps=[SUCCESS_BOX],
        exit_code=EXIT_SUCCESS,
        folders={DEFAULT_FOLDER: ALL_FIVE, LINKED_FOLDER: ALL_FIVE},
    ),
    Scenario(
        # Without the scripting run-time the existence test cannot be asked.
        name="scripting_object_unavailable",
        setup=[Folder(DEFAULT_FOLDER)],
        dll_overrides="scrrun=d",
        steps=[UNHANDLED_NO_SCRIPTING],
        exit_code=EXIT_UNHANDLED,
        folders={DEFAULT_FOLDER: {}},
    ),
    Scenario(
        name="planted_winmm_ignored",
        setup=[Folder(DEFAULT_FOLDER), PlantedWinmm()],
        dll_overrides=APP_FOLDER_FIRST,
        steps=[SUCCESS_BOX],
        exit_code=EXIT_SUCCESS,
        folders={DEFAULT_FOLDER: ALL_FIVE},
        marker_expected=False,
    ),
    Scenario(
        # Proves the row above can fail: a static import takes the planted copy.
        name="planted_winmm_control",
        program="qf_imports_winmm",
        setup=[PlantedWinmm()],
        dll_overrides=APP_FOLDER_FIRST,
        steps=[],
        exit_code=0,
        folders={},
        marker_expected=True,
    ),
    Scenario(
        name="without_resource_103",
        program="QuillfernFaces_no103",
        setup=[Folder(DEFAULT_FOLDER)],
        steps=[ERROR_BOX],
        exit_code=EXIT_WRITE_FAILURE,
        folders={DEFAULT_FOLDER: payloads(0, 1)},
    ),
    Scenario(
        name="without_resource_101",
        program="QuillfernFaces_no101",
        setup=[Folder(DEFAULT_FOLDER)],
        steps=[UNHANDLED_NO_101],
        exit_code=EXIT_UNHANDLED,
        folders={DEFAULT_FOLDER: {}},
    ),
]
