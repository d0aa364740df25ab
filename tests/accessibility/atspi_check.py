# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader sees of the program through AT-SPI: the exercise
# menu and the main window's copy menu with their items, and every file of
# the exercise list as a named item. Run by atspi_session.sh inside a
# virtual display with its own session bus; exits 1 on the first miss.
import sys
import time

import pyatspi


def fail(message):
    print('ÉCHEC :', message, flush=True)
    sys.exit(1)


def walk(node, depth=0):
    if node is None or depth > 30:
        return
    yield node
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def wait_for(what, find, seconds=30):
    end = time.time() + seconds
    while time.time() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.3)
    fail(what)


def program():
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.name == 'Lorva avec frottement':
            return application
    return None


def first(root, test):
    for node in walk(root):
        try:
            if test(node):
                return node
        except Exception:
            continue
    return None


def press(node):
    action = node.queryAction()
    try:
        action.doAction(0)
    except Exception:
        # A modal window opened by the action answers only once closed.
        pass


def menu_items(application, menu_name):
    menu = wait_for('menu « %s » absent' % menu_name, lambda: first(
        application, lambda n: n.getRoleName() == 'popup menu' and n.name == menu_name))
    return menu, [n.name for n in walk(menu) if n.getRoleName() == 'menu item']


def close_menu(menu):
    menu.queryComponent().grabFocus()
    pyatspi.Registry.generateKeyboardEvent(9, None, pyatspi.KEY_PRESSRELEASE)  # Escape
    time.sleep(0.5)


application = wait_for('programme absent du bus AT-SPI', program)

copy = wait_for('bouton Copier absent', lambda: first(
    application, lambda n: n.getRoleName() == 'push button' and n.name == 'Copier'))
press(copy)
menu, items = menu_items(application, 'Copier')
if "Copier l'animation" not in items or 'Copier le graphe' not in items:
    fail('menu Copier : %s' % items)
close_menu(menu)

button = wait_for('bouton Exercices absent', lambda: first(
    application, lambda n: n.getRoleName() == 'push button' and n.name == 'Exercices'))
press(button)
menu, items = menu_items(application, 'Menu Exercices')
expected = ['Prise en main', 'Ouvrir un exercice (énoncé + configuration)',
            'Voir la correction', 'Enregistrer le contenu de la fenêtre exercice',
            'Retrouver un texte', 'Imprimer le contenu de la fenêtre exercice',
            "Fermer l'exercice"]
if items != expected:
    fail('menu Exercices : %s' % items)
opener = first(menu, lambda n: n.getRoleName() == 'menu item' and n.name == expected[1])
press(opener)

files = sorted(sys.argv[1:])
listing = wait_for('liste des exercices absente', lambda: first(
    application, lambda n: n.name == 'Liste des exercices' and n.childCount == len(files)))
names = sorted(n.name for n in walk(listing) if n.getRoleName() == 'list item')
if names != files:
    fail('liste des exercices : %s au lieu de %s' % (names, files))
title = wait_for('titre de l\'aperçu', lambda: first(
    application, lambda n: n.getRoleName() == 'label' and n.name.startswith('Quand la pouss')))
print('AT-SPI : menus et liste des exercices vus', flush=True)
