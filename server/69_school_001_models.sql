-- Catalogue of the accounting models (models, their views, node classes of a view),
-- kept in school_001 where the accounting models navigator looks for it.
-- Edited by the staff (dorv) and the administrator.

create table school_001.sys_model (
  model_id integer primary key,
  name     text not null
);

create table school_001.sys_view (
  view_id integer primary key,     -- the codes of sys_matrix.view
  name    text not null
);

create table school_001.sys_model_view (
  model_id integer not null references school_001.sys_model on delete cascade,
  view_id  integer not null references school_001.sys_view on delete cascade,
  primary key (model_id, view_id)
);

create table school_001.sys_node_class (
  node_class_id integer primary key,
  name          text not null,
  matrix_field  text not null     -- the sys_matrix column the node class stands for
);

create table school_001.sys_view_analist (
  view_id       integer not null references school_001.sys_view on delete cascade,
  node_class_id integer not null references school_001.sys_node_class on delete cascade,
  level         integer not null,
  primary key (view_id, node_class_id)
);

insert into school_001.sys_model values (1, 'Контингент ОУ'), (2, 'Дополнительное образование');
insert into school_001.sys_view values
  (1, 'Учащийся в классе'), (3, 'Класс'), (5, 'Группа ДО'), (8, 'Учащийся в группе ДО');
insert into school_001.sys_model_view values (1, 1), (1, 3), (2, 5), (2, 8);
insert into school_001.sys_node_class values
  (1, 'Параллель', 'paralel'), (2, 'Класс', 'class'), (3, 'Учащийся', 'account_id'), (4, 'Группа', 'group_id');
insert into school_001.sys_view_analist values
  (1, 1, 1), (1, 2, 2), (1, 3, 3), (3, 1, 1), (3, 2, 2), (5, 4, 1), (8, 4, 1), (8, 3, 2);

create function school_001.delete_model(id_model integer) returns void language sql as
$$ delete from school_001.sys_model where model_id = id_model $$;

-- adds a view to the model (the view itself is created when it is new)
create function school_001.insert_sys_view(id_model integer, name_view text, id_view integer) returns void
  language sql as
$$
  insert into school_001.sys_view (view_id, name) values (id_view, name_view)
    on conflict (view_id) do update set name = excluded.name;
  insert into school_001.sys_model_view (model_id, view_id) values (id_model, id_view)
    on conflict do nothing;
$$;

create function school_001.delete_view(id_view integer) returns void language sql as
$$ delete from school_001.sys_view where view_id = id_view $$;

-- adds a node class at a level of the view (the node class is created when it is new)
create function school_001.insert_sys_node(node_id integer, m_field text, name_node text, lvl integer, id_view integer)
  returns void language sql as
$$
  insert into school_001.sys_node_class (node_class_id, name, matrix_field) values (node_id, name_node, m_field)
    on conflict (node_class_id) do update set name = excluded.name, matrix_field = excluded.matrix_field;
  insert into school_001.sys_view_analist (view_id, node_class_id, level) values (id_view, node_id, lvl)
    on conflict (view_id, node_class_id) do update set level = excluded.level;
$$;

create function school_001.delete_node(id_node integer) returns void language sql as
$$ delete from school_001.sys_node_class where node_class_id = id_node $$;

grant select, insert, update on school_001.sys_model, school_001.sys_view, school_001.sys_model_view,
  school_001.sys_node_class, school_001.sys_view_analist to dorv, admin;
grant execute on function school_001.delete_model(integer), school_001.insert_sys_view(integer, text, integer),
  school_001.delete_view(integer), school_001.insert_sys_node(integer, text, text, integer, integer),
  school_001.delete_node(integer) to dorv, admin;
