# Sample clients for a fresh data location: realistic answer patterns that
# show how the scales and the classification behave. zvcontent.py writes them
# to data/samples/clients.txt, one 255-byte Windows-1252 record per line.

WIDTHS = (("Name", 25), ("SSN", 10), ("Age", 3), ("Gender", 1), ("Race", 1), ("Education", 2),
          ("Marital", 1), ("DateOfBirth", 10), ("DateTested", 10))
COURT = ("FirstArrest", "FirstConviction", "FelonyArrests", "TimesProbation", "ProbationRevocation",
         "TimesParole", "ParoleRevocation", "TimeArrest", "TimesJail", "TimesPrison", "AlcoholArrests",
         "DrugArrests", "DUIArrests", "PercentEmployed")


def risk_code(item):
    """The answer code of a true/false item that earns its points."""
    return 1 if item.points[0] > 0 else 2


def answers(items, admit=(), truth_denials=0, stress=(2, 2), rated=None, mc=None, true_items=()):
    """Codes for items 1..162.

    admit: true/false items answered the way that signals risk (others the safe way);
    truth_denials: how many Truthfulness items, in item order, deny a common fault;
    stress: the usual rating of group A (strain) and group B (coping) items;
    rated: ratings of items 136..139; mc: answers of items 140..162 (default 4);
    true_items: items without a scale answered True."""
    codes = {}
    truth = [n for n in range(1, 106) if items[n].scale == 1]
    for n in range(1, 106):
        it = items[n]
        if it.scale == 1:
            keyed = risk_code(it)
            codes[n] = keyed if truth.index(n) < truth_denials else 3 - keyed
        elif it.scale:
            codes[n] = risk_code(it) if n in admit else 3 - risk_code(it)
        else:
            codes[n] = 1 if n in true_items else 2
    import items as bank
    for n in bank.STRESS_A_ITEMS:
        codes[n] = stress[0]
    for n in bank.STRESS_B_ITEMS:
        codes[n] = stress[1]
    for n in range(136, 140):
        codes[n] = (rated or {}).get(n, 1)
    for n in range(140, 163):
        codes[n] = (mc or {}).get(n, 4)
    return "".join(str(codes[n]) for n in range(1, 163))


def on_scale(items, scale, *, only=None, skip=()):
    """Items of a scale (optionally only those whose English text contains a word)."""
    out = []
    for n in range(1, 106):
        it = items[n]
        if it.scale != scale or n in skip:
            continue
        if only is None or any(w in it.en for w in only):
            out.append(n)
    return out


def record(fields, court, responses):
    out = b""
    for name, width in WIDTHS:
        value = fields[name].encode("cp1252")
        assert len(value) <= width, (name, value)
        out += value.ljust(width, b" ")
    for name in COURT:
        value = str(court[name]).encode("cp1252")
        assert len(value) <= 2, (name, value)
        out += value.ljust(2, b" ")
    assert len(responses) == 162
    out += responses.encode("ascii") + b"00"
    return out


def court_history(**values):
    court = {name: 0 for name in COURT}
    court.update(values)
    return court


def records(items):
    alcohol_all = on_scale(items, 2)
    drugs_all = on_scale(items, 3)
    clients = []

    # 1. A heavy drinker: admits tolerance, loss of control, time spent,
    # withdrawal, failed attempts to quit; no drug use.
    clients.append(record(
        dict(Name="Walker, Dale R.", SSN="A1047732", Age="44", Gender="1", Race="1", Education="11",
             Marital="3", DateOfBirth="03/14/1981", DateTested="04/02/2025"),
        court_history(FirstArrest=19, FirstConviction=22, TimesProbation=2, TimeArrest=5, TimesJail=2,
                      AlcoholArrests=3, DUIArrests=2, PercentEmployed=6),
        answers(items,
                admit=alcohol_all + on_scale(items, 4, only=("fired", "skipped")) +
                on_scale(items, 5, only=("yell",)),
                truth_denials=2, stress=(3, 2), rated={136: 4, 137: 4},
                mc={140: 2, 141: 2, 142: 3, 143: 2, 146: 1, 149: 2, 151: 1, 153: 2, 154: 1, 155: 2, 156: 1,
                    160: 3, 161: 3},
                true_items=(2, 4))))

    # 2. A denier: no admission anywhere and a habit of denying common faults.
    clients.append(record(
        dict(Name="Castillo, Marcus J.", SSN="N", Age="29", Gender="1", Race="2", Education="12",
             Marital="1", DateOfBirth="07/22/1995", DateTested="04/03/2025"),
        court_history(FirstArrest=20, FirstConviction=21, FelonyArrests=1, TimesProbation=1, TimeArrest=2,
                      TimesJail=1, PercentEmployed=12),
        answers(items, truth_denials=10, stress=(2, 3), true_items=(1, 2, 4))))

    # 3. A client who answered every statement "True" (and the first choice elsewhere).
    clients.append(record(
        dict(Name="Harlan, Jesse T.", SSN="77120458", Age="33", Gender="1", Race="1", Education="10",
             Marital="1", DateOfBirth="11/05/1991", DateTested="04/03/2025"),
        court_history(FirstArrest="N", FirstConviction="N", TimeArrest=1, PercentEmployed=12),
        "1" * 162))

    # 4. Abuse without dependency: missed work and drove after drinking, one
    # sign of loss of control, no other dependency signs.
    clients.append(record(
        dict(Name="Nguyen, Tina M.", SSN="31188906", Age="27", Gender="2", Race="4", Education="14",
             Marital="1", DateOfBirth="09/30/1997", DateTested="04/07/2025"),
        court_history(FirstArrest=25, FirstConviction=25, TimeArrest=1, AlcoholArrests=1, DUIArrests=1,
                      PercentEmployed=12),
        answers(items,
                admit=[7, 59] + on_scale(items, 2, only=("public places", "money problems", "five or more")),
                truth_denials=2, stress=(2, 3), rated={136: 2},
                mc={140: 3, 141: 3, 153: 3, 154: 2, 156: 1},
                true_items=(1, 2))))

    # 5. A drug user meeting dependency on drugs, little drinking.
    clients.append(record(
        dict(Name="Brooks, Tyrell D.", SSN="60294417", Age="24", Gender="1", Race="2", Education="10",
             Marital="1", DateOfBirth="01/18/2001", DateTested="04/08/2025"),
        court_history(FirstArrest=16, FirstConviction=18, FelonyArrests=2, TimesProbation=2, ProbationRevocation=1,
                      TimeArrest=6, TimesJail=3, TimesPrison=1, DrugArrests=3, PercentEmployed=3),
        answers(items,
                admit=drugs_all + on_scale(items, 4, only=("stolen", "lie to get", "suspended", "on purpose",
                                                           "skipped", "friends who")) +
                on_scale(items, 5, only=("threatened", "only way", "yell")),
                truth_denials=1, stress=(3, 2), rated={138: 4, 139: 3},
                mc={140: 2, 141: 3, 142: 2, 143: 3, 144: 1, 145: 2, 147: 2, 148: 1, 149: 2, 150: 2, 151: 3,
                    152: 2, 156: 2, 157: 1, 158: 2, 159: 3, 160: 3, 161: 3, 162: 3},
                true_items=(2, 3))))

    # 6. A client tested in Spanish: moderate drinking with abuse signs, high strain.
    clients.append(record(
        dict(Name="Peña Ibáñez, José Ángel", SSN="N", Age="37", Gender="1", Race="3", Education="9",
             Marital="2", DateOfBirth="12/02/1987", DateTested="04/09/2025"),
        court_history(FirstArrest=30, FirstConviction=31, TimeArrest=2, AlcoholArrests=1, DUIArrests=1,
                      PercentEmployed=10),
        answers(items,
                admit=[7, 59] + on_scale(items, 2, only=("told me that I drink", "five or more", "public places")),
                truth_denials=3, stress=(3, 1), rated={136: 3},
                mc={141: 3, 153: 3, 154: 2, 156: 1},
                true_items=(1, 2, 4, 6))))

    # 7. A low-risk client: open about small faults, no substance or conduct problems.
    clients.append(record(
        dict(Name="Miller, Susan K.", SSN="40581123", Age="52", Gender="2", Race="1", Education="16",
             Marital="5", DateOfBirth="05/27/1972", DateTested="04/10/2025"),
        court_history(FirstArrest="N", FirstConviction="N", PercentEmployed=12),
        answers(items, stress=(1, 4), true_items=(1, 2, 4, 5, 6))))
    return clients
