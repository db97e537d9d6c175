"""The e2e.finder group: its scenario tables and steps."""


from ..checks import check_finder_code


def group_finder(session, checks):
    """Code arrow dropped onto each fixture case and onto notepad's edit box."""
    fixture = session.fixture
    for finder in fixture.finders:
        name, target = finder["name"], fixture[finder["target"]]
        checks.step(
            name, check_finder_code, checks, session, name, target.point, target.handle,
            finder["expect"].get("Visual Basic"),
            finder["contains"].get("Visual Basic", ()),
        )

    def notepad_case():
        notepad = session.start_notepad()
        edit = session.probe.child(notepad, "Edit")
        if not checks.check("notepad has an Edit box", edit != 0):
            return
        point = session.probe.rect(edit).centre
        check_finder_code(checks, session, "notepad's edit box", point, edit)

    checks.step("notepad's edit box", notepad_case)
