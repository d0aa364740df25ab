# SPDX-License-Identifier: GPL-3.0-or-later
# What a screen reader sees of the program through AT-SPI: the exercise
# menu and the main window's copy menu with their items, the controls of the
# video window (reached through the graph window and its measures dialog)
# with their names and roles, and every file of the exercise list as a named
# item. Run by atspi_session.sh inside a
# virtual display with its own session bus; exits 1 on the first miss.
import os
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


def window_with(application, test):
    """The top-level window of the program that holds a node passing test."""
    for i in range(application.childCount):
        window = application.getChildAtIndex(i)
        if window is not None and first(window, test) is not None:
            return window
    return None


def button_named(name):
    return lambda n: n.getRoleName() == 'push button' and n.name == name


def labels(node):
    """The names of the labels that node is "labelled by"."""
    names = []
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
    return names


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def close_window(application, window, what):
    """Presses the window's own "Fermer" button and waits until it is gone."""
    closer = first(window, lambda n: button_named('Fermer')(n) and showing(n))
    if closer is None:
        fail('bouton Fermer absent de %s' % what)
    press(closer)

    def closed():
        try:
            return None if showing(window) else True
        except Exception:  # the window is gone from the bus
            return True
    wait_for('%s toujours ouverte' % what, closed)


# The video window's controls: (role, name) as a screen reader announces them.
VIDEO_CONTROLS = [
    ('push button', 'Ouvrir une vidéo…'),
    ('push button', 'Image précédente'),
    ('slider', 'Image de la vidéo à montrer'),
    ('push button', 'Image suivante'),
    ('radio button', 'Échelle : cliquer deux points'),
    ('text', 'Distance entre les deux points, en cm'),
    ('radio button', 'Origine : cliquer le point de position 0'),
    ('text', 'Indice de réfraction du liquide'),
    ('text', 'Diamètre intérieur du tube, en mm'),
    ('text', "Distance de la caméra à l'axe du tube, en cm"),
    ('text', 'Cadence de prise de vue, en images par seconde'),
    ('text', 'Incertitude-type : distance entre les deux points (cm)'),
    ('text', "Incertitude-type : position de chaque clic de l'échelle (px)"),
    ('text', 'Incertitude-type : indice du liquide'),
    ('text', 'Incertitude-type : diamètre du tube (mm)'),
    ('text', 'Incertitude-type : distance de la caméra (cm)'),
    ('text', 'Incertitude-type : cadence de prise de vue (images/s)'),
    ('radio button', 'Bille : cliquer la bille pour la suivre'),
    ('radio button', 'Pointage manuel : cliquer la bille'),
    ('spin button', "Pointage manuel : nombre d'images d'un clic au suivant"),
    ('push button', 'Utiliser ces mesures'),
    ('push button', 'Fermer'),
]


def check_video_window(application):
    agrandir = wait_for('bouton Agrandir absent', lambda: first(
        application, button_named('Agrandir')))
    press(agrandir)
    mesures = wait_for('bouton Mesures de la fenêtre des graphes absent', lambda: first(
        application, lambda n: button_named('Mesures')(n) and showing(n)))
    graphs = window_with(application, button_named('Mesures'))
    press(mesures)
    opener = wait_for('bouton « Ouvrir une vidéo de la chute » absent', lambda: first(
        application, lambda n: button_named('Ouvrir une vidéo de la chute')(n) and showing(n)))
    measures = window_with(application, button_named('Ouvrir une vidéo de la chute'))
    press(opener)
    # The file chooser comes first: a committed test video is typed into it.
    chooser = wait_for('choix du fichier « Ouvrir une vidéo » absent', lambda: first(
        application, lambda n: n.getRoleName() == 'dialog' and n.name == 'Ouvrir une vidéo'
        and showing(n)))
    name = wait_for('champ du nom de fichier absent', lambda: first(
        chooser, lambda n: n.getRoleName() == 'text' and showing(n)
        and n.getState().contains(pyatspi.STATE_EDITABLE)))
    sample = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'data', 'video',
                          'h264-rotated.mp4')
    name.queryEditableText().setTextContents(os.path.normpath(sample))
    press(wait_for('bouton Ouvrir du choix du fichier absent', lambda: first(
        chooser, lambda n: button_named('Ouvrir')(n) and showing(n))))
    video = wait_for('fenêtre « Vidéo de la chute » absente', lambda: first(
        application, lambda n: n.getRoleName() == 'dialog' and n.name == 'Vidéo de la chute'
        and showing(n)))
    seen = [(n.getRoleName(), n.name) for n in walk(video) if showing(n)]
    missing = [control for control in VIDEO_CONTROLS if control not in seen]
    if missing:
        fail('fenêtre vidéo : %s non annoncés (vus : %s)' % (missing, seen))
    # On this platform a combo box is announced by its current item and the
    # label the relation "labelled by" points to.
    placement = first(video, lambda n: n.getRoleName() == 'combo box')
    if placement is None or 'Échelle placée :' not in labels(placement):
        fail("fenêtre vidéo : la liste « Échelle placée » n'est pas annoncée (%s)"
             % (labels(placement) if placement else 'absente'))
    picture = first(video, lambda n: n.name == 'Image de la vidéo')
    if picture is None or not picture.getState().contains(pyatspi.STATE_FOCUSABLE):
        fail("fenêtre vidéo : l'image n'est pas atteignable au clavier")
    if 'flèches' not in picture.description:
        fail("fenêtre vidéo : l'image ne dit pas comment la pointer au clavier")
    # Every control the keyboard reaches has a name.
    unnamed = [n.getRoleName() for n in walk(video)
               if showing(n) and n.getState().contains(pyatspi.STATE_FOCUSABLE) and not n.name]
    if unnamed:
        fail('fenêtre vidéo : contrôles sans nom : %s' % unnamed)
    close_window(application, video, 'la fenêtre vidéo')
    close_window(application, measures, 'la fenêtre Mesures')
    close_window(application, graphs, 'la fenêtre des graphes')


application = wait_for('programme absent du bus AT-SPI', program)

copy = wait_for('bouton Copier absent', lambda: first(
    application, lambda n: n.getRoleName() == 'push button' and n.name == 'Copier'))
press(copy)
menu, items = menu_items(application, 'Copier')
if "Copier l'animation" not in items or 'Copier le graphe' not in items:
    fail('menu Copier : %s' % items)
close_menu(menu)

check_video_window(application)
print('AT-SPI : commandes de la fenêtre vidéo vues', flush=True)

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
